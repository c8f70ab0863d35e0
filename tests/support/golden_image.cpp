#include "support/golden_image.h"

#include <cstdlib>
#include <filesystem>

#include "capture/png_file.h"

namespace fs = std::filesystem;

bool golden_approving()
{
    const char* env = std::getenv("VIRELINE_APPROVE");
    return env != nullptr && env[0] == '1';
}

std::string test_output_dir()
{
    const fs::path dir = fs::path(VIRELINE_BINARY_DIR) / "test-output";
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir.string();
}

std::string golden_write_failure(const std::string& name, const TestImage& actual, const TestImage& expected)
{
    const fs::path dir = test_output_dir();
    png_write((dir / (name + "-actual.png")).string(), actual);
    if (!expected.empty()) {
        png_write((dir / (name + "-expected.png")).string(), expected);
        if (expected.width == actual.width && expected.height == actual.height) {
            png_write((dir / (name + "-diff.png")).string(), image_difference(actual, expected));
        }
    }
    return dir.string();
}

GoldenResult golden_check(const std::string& golden_path, const TestImage& actual, const ImageTolerance& tolerance)
{
    GoldenResult r;
    const fs::path path = fs::path(VIRELINE_SOURCE_DIR) / golden_path;
    const std::string name = path.stem().string();
    if (golden_approving()) {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        std::string error;
        r.passed = png_write(path.string(), actual, PngChannels::Rgba, &error);
        r.message = r.passed ? "approved " + path.string() : error;
        return r;
    }
    TestImage expected;
    std::string error;
    if (!png_read(path.string(), &expected, &error)) {
        const std::string dir = golden_write_failure(name, actual, TestImage());
        r.message = "no golden picture " + path.string() + " (" + error + "); actual written to " + dir +
                    "; run with VIRELINE_APPROVE=1 to approve it";
        return r;
    }
    const ImageComparison c = image_compare(actual, expected, tolerance);
    r.passed = c.passed;
    if (!r.passed) {
        const std::string dir = golden_write_failure(name, actual, expected);
        r.message = golden_path + ": " + c.summary() + "; pictures written to " + dir + "/" + name + "-*.png";
    }
    return r;
}
