#include "textures/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "textures/image_decoded.h"

namespace {
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};
}  // namespace

bool image_file_read(const std::string& path, std::vector<BYTE>& data, std::string* reason) {
    data.clear();
    if (path.size() > kImageMaxPath) {
        image_set_reason(reason, "path is longer than " + std::to_string(kImageMaxPath) + " characters");
        return false;
    }
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        image_set_reason(reason, "cannot open " + path + ": " + std::strerror(errno));
        return false;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        image_set_reason(reason, path + " is not a regular file");
        return false;
    }
    if (static_cast<std::uint64_t>(info.st_size) > kImageMaxFileBytes) {
        image_set_reason(reason, path + " is too large to be a picture");
        return false;
    }
    try {
        data.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::exception&) {
        image_set_reason(reason, "out of memory reading " + path);
        return false;
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(file.get(), data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            image_set_reason(reason, "cannot read " + path + ": " + std::strerror(errno));
            data.clear();
            return false;
        }
        if (got == 0) break;  // the file shrank while being read: keep what is there
        done += static_cast<std::size_t>(got);
    }
    data.resize(done);
    return true;
}
