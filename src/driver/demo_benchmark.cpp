#include "driver/demo_benchmark.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/demo_capture.h"
#include <fcntl.h>
#include "driver/sequencer.h"

extern char** environ;

namespace {

constexpr const char* kStep = "1/60";
constexpr int kStepsPerSecond = 60;

struct DeviceRun {
    std::string name;           // as --device takes it
    std::string description;    // as the device calls itself
    bool present = true;        // false once it turned out not to exist
    std::vector<double> part_seconds[DEMO_PART_COUNT];
};

// Runs program with args, its output to /dev/null (stdout to out_path when given); the exit status,
// or -1 when it could not be started.
int run_child(const std::string& program, const std::vector<std::string>& args, const std::string& out_path = "")
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.empty() ? "/dev/null" : out_path.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

std::vector<std::string> common_args(const DemoOptions& options)
{
    std::vector<std::string> args = {"--headless", "--no-dialog", "--fixed-step", kStep};
    if (!options.framework.data_dir.empty()) {
        args.push_back("--data");
        args.push_back(options.framework.data_dir);
    }
    return args;
}

// The presented-frame index at which every part begins, from a run of the timeline's logic alone.
bool part_begin_frames(const std::string& program, const DemoOptions& options, const std::string& folder,
                       long long begins[DEMO_PART_COUNT])
{
    std::vector<std::string> args = common_args(options);
    for (const char* a : {"--device", "software", "--timeline", "--start", "12", "--frames", "1"}) args.push_back(a);
    const std::string path = folder + "/timeline.txt";
    if (run_child(program, args, path) != 0) return false;
    std::ifstream in(path);
    std::string line;
    int found = 0;
    while (std::getline(in, line)) {
        int part = 0;
        long long pass = 0;
        long long frame = 0;
        if (std::sscanf(line.c_str(), "{\"part\": %d, \"pass\": %lld, \"frame\": %lld", &part, &pass, &frame) == 3 &&
            part >= 1 && part <= DEMO_PART_COUNT) {
            begins[part - 1] = frame;
            ++found;
        }
    }
    return found == DEMO_PART_COUNT;
}

// Times part (1 … 12) for frames frames on the device; false when the run failed.
bool time_part(const std::string& program, const DemoOptions& options, const std::string& folder, DeviceRun* device,
               int part, long long frames)
{
    const std::string path = folder + "/times-" + device->name + ".txt";
    std::vector<std::string> args = common_args(options);
    args.insert(args.end(), {"--device", device->name, "--start", std::to_string(part), "--frames",
                             std::to_string(frames), "--frame-times", path});
    std::filesystem::remove(path);
    if (run_child(program, args) != 0) return false;
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line) || line.rfind("device ", 0) != 0) return false;
    std::istringstream head(line.substr(7));
    std::string kind;
    head >> kind;
    std::getline(head >> std::ws, device->description);
    // Asked for OpenGL but given the software device: there is no OpenGL device here.
    if (device->name == "opengl" && kind != "hardware") {
        device->present = false;
        return true;
    }
    while (std::getline(in, line)) {
        int p = 0;
        double seconds = 0.0;
        if (std::sscanf(line.c_str(), "%d %lf", &p, &seconds) == 2 && p == part) {
            device->part_seconds[part - 1].push_back(seconds);
        }
    }
    return !device->part_seconds[part - 1].empty();
}

std::string figures_json(const BenchmarkFigures& f)
{
    char text[160];
    std::snprintf(text, sizeof text, "{\"frames\": %lld, \"median_ms\": %.4f, \"p99_ms\": %.4f, \"fps\": %.2f}", f.frames,
                  f.median_ms, f.p99_ms, f.fps);
    return text;
}

}  // namespace

BenchmarkFigures benchmark_figures(std::vector<double> seconds)
{
    BenchmarkFigures f;
    f.frames = static_cast<long long>(seconds.size());
    if (seconds.empty()) return f;
    double total = 0.0;
    for (const double s : seconds) total += s;
    std::sort(seconds.begin(), seconds.end());
    const std::size_t n = seconds.size();
    f.median_ms = 1000.0 * (n % 2 == 1 ? seconds[n / 2] : 0.5 * (seconds[n / 2 - 1] + seconds[n / 2]));
    const std::size_t rank = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(n)));
    f.p99_ms = 1000.0 * seconds[std::min(n, std::max<std::size_t>(rank, 1)) - 1];
    f.fps = total > 0.0 ? static_cast<double>(n) / total : 0.0;
    return f;
}

int demo_benchmark(const DemoOptions& options, const char* program_arg)
{
    std::error_code error;
    std::string program = std::filesystem::canonical("/proc/self/exe", error).string();
    if (error) program = program_arg;
    char folder_template[] = "/tmp/vireline-benchmark-XXXXXX";
    if (mkdtemp(folder_template) == nullptr) {
        std::fprintf(stderr, "vireline: cannot make a folder for the benchmark's figures\n");
        return 1;
    }
    const std::string folder = folder_template;

    std::vector<DeviceRun> devices;
    for (const char* name : {"software", "opengl"}) {
        const DeviceChoice other = name[0] == 's' ? DeviceChoice::OpenGL : DeviceChoice::Software;
        if (options.framework.device == other) continue;
        devices.emplace_back();
        devices.back().name = name;
    }

    long long begins[DEMO_PART_COUNT] = {};
    int status = 0;
    if (!part_begin_frames(program, options, folder, begins)) {
        std::fprintf(stderr, "vireline: the benchmark could not run the demo's timeline (is the data there?)\n");
        status = 1;
    }
    long long part_frames[DEMO_PART_COUNT] = {};
    for (int i = 0; i < DEMO_PART_COUNT && status == 0; ++i) {
        part_frames[i] = i + 1 < DEMO_PART_COUNT ? begins[i + 1] - begins[i]
                                                 : static_cast<long long>(kCaptureLastPartSeconds) * kStepsPerSecond;
        if (options.frames > 0) part_frames[i] = std::min(part_frames[i], options.frames);
        part_frames[i] = std::max(part_frames[i], 1LL);
    }
    std::fprintf(stderr, "vireline: benchmark at a step of %s s on", kStep);
    for (const DeviceRun& d : devices) std::fprintf(stderr, " %s", d.name.c_str());
    std::fprintf(stderr, "\n");
    for (int part = 1; part <= DEMO_PART_COUNT && status == 0; ++part) {
        std::fprintf(stderr, "vireline: part %d (%lld frames)\n", part, part_frames[part - 1]);
        for (std::size_t k = 0; k < devices.size(); ++k) {
            DeviceRun& d = devices[part % 2 == 1 ? k : devices.size() - 1 - k];
            if (!d.present) continue;
            if (!time_part(program, options, folder, &d, part, part_frames[part - 1])) {
                std::fprintf(stderr, "vireline: the timed run of part %d on the %s device failed\n", part, d.name.c_str());
                status = 1;
                break;
            }
            if (!d.present) std::fprintf(stderr, "vireline: no OpenGL device here; timing the software device only\n");
        }
    }
    std::filesystem::remove_all(folder, error);
    if (status != 0) return status;
    std::erase_if(devices, [](const DeviceRun& d) { return !d.present; });

    const bool both = devices.size() == 2;
    std::vector<BenchmarkFigures> rows[2];
    std::vector<double> whole[2];
    for (std::size_t k = 0; k < devices.size(); ++k) {
        for (int i = 0; i < DEMO_PART_COUNT; ++i) {
            rows[k].push_back(benchmark_figures(devices[k].part_seconds[i]));
            whole[k].insert(whole[k].end(), devices[k].part_seconds[i].begin(), devices[k].part_seconds[i].end());
        }
    }
    std::printf("%-6s %7s", "part", "frames");
    for (const DeviceRun& d : devices) std::printf("  %10s %9s %9s %8s", d.name.c_str(), "median ms", "p99 ms", "fps");
    if (both) std::printf("  %s", "speed sw/gl");
    std::printf("\n");
    auto print_row = [&](const char* label, long long frames, const BenchmarkFigures* f) {
        std::printf("%-6s %7lld", label, frames);
        for (std::size_t k = 0; k < devices.size(); ++k) {
            std::printf("  %10s %9.3f %9.3f %8.1f", "", f[k].median_ms, f[k].p99_ms, f[k].fps);
        }
        if (both) std::printf("  %11.2f", f[1].fps > 0.0 ? f[0].fps / f[1].fps : 0.0);
        std::printf("\n");
    };
    for (int i = 0; i < DEMO_PART_COUNT; ++i) {
        BenchmarkFigures f[2];
        for (std::size_t k = 0; k < devices.size(); ++k) f[k] = rows[k][i];
        print_row(std::to_string(i + 1).c_str(), f[0].frames, f);
    }
    BenchmarkFigures all[2];
    for (std::size_t k = 0; k < devices.size(); ++k) all[k] = benchmark_figures(whole[k]);
    print_row("all", all[0].frames, all);
    for (const DeviceRun& d : devices) std::printf("%s: %s\n", d.name.c_str(), d.description.c_str());

    if (!options.json_path.empty()) {
        std::ofstream json(options.json_path);
        json << "{\"step\": \"" << kStep << "\", \"devices\": [";
        for (std::size_t k = 0; k < devices.size(); ++k) {
            json << (k ? ", " : "") << "{\"name\": \"" << devices[k].name << "\", \"description\": \""
                 << devices[k].description << "\"}";
        }
        json << "],\n \"parts\": [\n";
        for (int i = 0; i < DEMO_PART_COUNT; ++i) {
            json << "  {\"part\": " << i + 1;
            for (std::size_t k = 0; k < devices.size(); ++k) json << ", \"" << devices[k].name << "\": " << figures_json(rows[k][i]);
            if (both) json << ", \"speed_software_over_opengl\": " << (rows[1][i].fps > 0 ? rows[0][i].fps / rows[1][i].fps : 0.0);
            json << "}" << (i + 1 < DEMO_PART_COUNT ? ",\n" : "\n");
        }
        json << " ],\n \"whole\": {";
        for (std::size_t k = 0; k < devices.size(); ++k) json << (k ? ", " : "") << "\"" << devices[k].name << "\": " << figures_json(all[k]);
        if (both) json << ", \"speed_software_over_opengl\": " << (all[1].fps > 0 ? all[0].fps / all[1].fps : 0.0);
        json << "}}\n";
        if (!json) {
            std::fprintf(stderr, "vireline: cannot write %s\n", options.json_path.c_str());
            return 1;
        }
    }
    return 0;
}
