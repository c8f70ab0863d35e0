#include "content/content.h"

#include <atomic>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

#include "content/pictures.h"
#include "content/scenes.h"
#include "scene3ds_writer/write_3ds.h"

std::vector<std::string> content_manifest() {
    std::vector<std::string> files;
    for (const SceneJob& job : scene_jobs()) files.emplace_back(job.path);
    for (const PictureJob& job : picture_jobs()) files.emplace_back(job.path);
    return files;
}

bool content_generate(const std::string& folder, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const char* dir : {"scenes", "maps", "maps/creds"}) {
        fs::create_directories(fs::path(folder) / dir, ec);
        if (ec) {
            if (error) *error = "cannot make " + (fs::path(folder) / dir).string() + ": " + ec.message();
            return false;
        }
    }
    // Work items: every scene, then every picture; threads take the next item in turn. Each item
    // writes its own file from its own inputs, so the order they finish in changes nothing.
    const std::size_t scenes = scene_jobs().size(), total = scenes + picture_jobs().size();
    std::atomic<std::size_t> next{0};
    std::mutex failure_lock;
    std::string failure;
    auto worker = [&] {
        for (std::size_t i = next++; i < total; i = next++) {
            std::string problem;
            try {
                if (i < scenes) {
                    const SceneJob& job = scene_jobs()[i];
                    const std::string path = (fs::path(folder) / job.path).string();
                    if (!write_3ds_file(path.c_str(), job.make())) problem = "cannot write " + path;
                } else {
                    const PictureJob& job = picture_jobs()[i - scenes];
                    Picture picture(job.width, job.height, job.aspect);
                    job.paint(picture);
                    const std::string path = (fs::path(folder) / job.path).string();
                    if (!picture.write_jpeg(path)) problem = "cannot write " + path;
                }
            } catch (const std::exception& e) {
                problem = e.what();
            }
            if (!problem.empty()) {
                const std::lock_guard<std::mutex> lock(failure_lock);
                if (failure.empty()) failure = problem;
            }
        }
    };
    const unsigned count = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < count; ++t) threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads) t.join();
    if (!failure.empty()) {
        if (error) *error = failure;
        return false;
    }
    return true;
}

bool content_generate_previews(const std::string& folder, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        if (error) *error = "cannot make " + folder + ": " + ec.message();
        return false;
    }
    for (const SceneJob& job : preview_jobs()) {
        const std::string path = (fs::path(folder) / job.path).string();
        if (!write_3ds_file(path.c_str(), job.make())) {
            if (error) *error = "cannot write " + path;
            return false;
        }
    }
    return true;
}
