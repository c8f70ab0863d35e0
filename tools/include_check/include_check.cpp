// vireline-include-check ROOT RULES: checks every source file under ROOT/src and ROOT/tools against the
// include rules of RULES, so the layers stay apart (demo parts and effects never reach the device
// internals, the window system, OpenGL or the framework; only the platform layers include SDL or GL).
//
// A rules file has one folder (or file) per line, relative to ROOT, followed by its patterns; a file
// follows the line of the longest folder that contains it. Patterns are regular expressions matched
// from the start of the included name:
//   "REGEX   a project header ("...") the folder may include
//   !REGEX   a project header it must not include (checked first; for folders allowed most things)
//   <REGEX   a library header it may include, of the libraries the line "libraries REGEX" names
// A project header without a folder ("version.h") is allowed when it is the folder's own. Other
// library headers (the C and C++ libraries, POSIX) are always allowed. Lines starting with # are
// comments. Exit status 0 when every include is allowed, 1 with one line per violation otherwise,
// 2 when the rules cannot be read.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Rule {
    std::string folder;
    std::vector<std::regex> allowed_project, denied_project, allowed_library;
};

struct Rules {
    std::vector<Rule> folders;
    std::regex libraries{"$^"};
};

bool read_rules(const std::string& path, Rules* rules, std::string* error)
{
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string folder;
        if (!(words >> folder) || folder[0] == '#') continue;
        try {
            if (folder == "libraries") {
                std::string pattern;
                words >> pattern;
                rules->libraries = std::regex(pattern);
                continue;
            }
            Rule rule;
            rule.folder = folder;
            std::string token;
            while (words >> token) {
                const std::regex pattern(token.substr(1));
                if (token[0] == '"') {
                    rule.allowed_project.push_back(pattern);
                } else if (token[0] == '!') {
                    rule.denied_project.push_back(pattern);
                } else if (token[0] == '<') {
                    rule.allowed_library.push_back(pattern);
                } else {
                    *error = path + ":" + std::to_string(number) + ": a pattern starts with \", ! or <: " + token;
                    return false;
                }
            }
            rules->folders.push_back(std::move(rule));
        } catch (const std::regex_error& e) {
            *error = path + ":" + std::to_string(number) + ": " + e.what();
            return false;
        }
    }
    return true;
}

bool starts_with_match(const std::vector<std::regex>& patterns, const std::string& name)
{
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::regex& p) {
        return std::regex_search(name, p, std::regex_constants::match_continuous);
    });
}

const Rule* rule_for(const Rules& rules, const std::string& file)
{
    const Rule* best = nullptr;
    for (const Rule& r : rules.folders) {
        const bool inside = file == r.folder || (file.size() > r.folder.size() && file.compare(0, r.folder.size(), r.folder) == 0 &&
                                                 file[r.folder.size()] == '/');
        if (inside && (best == nullptr || r.folder.size() > best->folder.size())) best = &r;
    }
    return best;
}

// The problem with one include of file (relative to root), or empty.
std::string check_include(const Rules& rules, const Rule& rule, const fs::path& root, const std::string& file,
                          char open, const std::string& name)
{
    if (open == '<') {
        if (!std::regex_search(name, rules.libraries, std::regex_constants::match_continuous)) return {};
        if (starts_with_match(rule.allowed_library, name)) return {};
        return "library <" + name + "> is not for " + rule.folder;
    }
    if (name.find('/') == std::string::npos) {
        if (fs::exists(root / fs::path(file).parent_path() / name) || name == "version.h") return {};
    }
    if (starts_with_match(rule.denied_project, name)) return "\"" + name + "\" is kept from " + rule.folder;
    if (!rule.denied_project.empty() && rule.allowed_project.empty()) return {};
    if (starts_with_match(rule.allowed_project, name)) return {};
    return "\"" + name + "\" is not for " + rule.folder;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vireline-include-check ROOT RULES\n");
        return 2;
    }
    const fs::path root = argv[1];
    Rules rules;
    std::string error;
    if (!read_rules(argv[2], &rules, &error)) {
        std::fprintf(stderr, "vireline-include-check: %s\n", error.c_str());
        return 2;
    }
    const std::regex include_line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    int files = 0, violations = 0;
    for (const char* top : {"src", "tools"}) {
        if (!fs::is_directory(root / top)) continue;
        std::vector<fs::path> sources;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp" || ext == ".in")) sources.push_back(entry.path());
        }
        std::sort(sources.begin(), sources.end());
        for (const fs::path& path : sources) {
            const std::string file = fs::relative(path, root).generic_string();
            const Rule* rule = rule_for(rules, file);
            ++files;
            std::ifstream in(path);
            std::string line;
            int number = 0;
            while (std::getline(in, line)) {
                ++number;
                std::smatch m;
                if (!std::regex_search(line, m, include_line)) continue;
                const std::string problem = rule == nullptr ? "no rule covers this file"
                                                            : check_include(rules, *rule, root, file, m[1].str()[0], m[2].str());
                if (!problem.empty()) {
                    std::printf("%s:%d: %s\n", file.c_str(), number, problem.c_str());
                    ++violations;
                }
            }
        }
    }
    if (violations != 0) {
        std::printf("%d include(s) break the rules (%d files checked)\n", violations, files);
        return 1;
    }
    std::printf("includes follow the rules (%d files checked)\n", files);
    return 0;
}
