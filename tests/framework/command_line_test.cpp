// The program's command line: every option, values in both spellings, and the one-line errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/command_line.h"
#include "framework/data_folder.h"

namespace {

struct Parsed {
    CommandLineAction action;
    int status;
    FrameworkOptions options;
    std::string out;
    std::string err;
};

std::string read_all(std::FILE* f)
{
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    return text;
}

Parsed parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "vireline");
    Parsed p{};
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    p.action = command_line_parse(static_cast<int>(args.size()), args.data(), "vireline", &p.options, &p.status, out,
                                  err);
    p.out = read_all(out);
    p.err = read_all(err);
    std::fclose(out);
    std::fclose(err);
    return p;
}

}  // namespace

TEST(CommandLine, DefaultsAndEveryOptionInBothSpellings)
{
    const Parsed none = parse({});
    EXPECT_EQ(none.action, CommandLineAction::Run);
    EXPECT_EQ(none.options.device, DeviceChoice::Default);
    EXPECT_EQ(none.options.screen, ScreenChoice::Default);
    EXPECT_FALSE(none.options.has_mode);
    EXPECT_FALSE(none.options.no_dialog);
    EXPECT_TRUE(none.options.data_dir.empty());

    const Parsed p = parse({"--device", "opengl", "--fullscreen", "--mode=800x600x32", "--no-dialog", "--data", "."});
    ASSERT_EQ(p.action, CommandLineAction::Run) << p.err;
    EXPECT_EQ(p.options.device, DeviceChoice::OpenGL);
    EXPECT_EQ(p.options.screen, ScreenChoice::Fullscreen);
    EXPECT_TRUE(p.options.has_mode);
    EXPECT_EQ(p.options.mode_width, 800u);
    EXPECT_EQ(p.options.mode_height, 600u);
    EXPECT_EQ(p.options.mode_bits, 32u);
    EXPECT_TRUE(p.options.no_dialog);
    EXPECT_EQ(p.options.data_dir, ".");

    const Parsed q = parse({"--device=software", "--windowed", "--mode", "640x480x16"});
    ASSERT_EQ(q.action, CommandLineAction::Run) << q.err;
    EXPECT_EQ(q.options.device, DeviceChoice::Software);
    EXPECT_EQ(q.options.screen, ScreenChoice::Windowed);  // an explicit --windowed wins over --mode
    EXPECT_EQ(parse({"--mode", "1024x768x16"}).options.screen, ScreenChoice::Fullscreen);  // a mode alone
}

TEST(CommandLine, HelpAndVersionExitWithStatusZero)
{
    const Parsed help = parse({"--windowed", "--help"});
    EXPECT_EQ(help.action, CommandLineAction::Exit);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: vireline"), std::string::npos);
    EXPECT_NE(help.out.find("--device opengl|software"), std::string::npos);
    const Parsed version = parse({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("vireline ", 0), 0u);
    EXPECT_EQ(version.out.back(), '\n');
}

TEST(CommandLine, MistakesGiveOneLineAndStatusTwo)
{
    const std::vector<std::vector<const char*>> mistakes = {
        {"--frobnicate"}, {"--device"}, {"--device", "direct3d"}, {"--mode", "640x480"}, {"--mode", "640x480x8"},
        {"--mode", "0x480x16"}, {"--mode", "640x480x16x2"}, {"--mode", "-640x480x16"}, {"--fullscreen", "--windowed"},
        {"--no-dialog=yes"}, {"--data", "/no/such/folder/anywhere"}, {"extra"},
    };
    for (const auto& args : mistakes) {
        const Parsed p = parse(args);
        EXPECT_EQ(p.action, CommandLineAction::Exit) << args[0];
        EXPECT_EQ(p.status, 2) << args[0];
        EXPECT_TRUE(p.out.empty());
        ASSERT_FALSE(p.err.empty()) << args[0];
        EXPECT_EQ(p.err.rfind("vireline: ", 0), 0u) << p.err;
        EXPECT_EQ(p.err.find('\n'), p.err.size() - 1) << p.err;  // exactly one line
    }
}

TEST(CommandLine, OptionsCanBeTakenOneByOne)
{
    const char* args[] = {"viewer", "scene.3ds", "--device", "opengl", "--no-dialog"};
    FrameworkOptions options;
    std::string error;
    EXPECT_EQ(command_line_take_option(5, args, 1, &options, &error), 0);
    EXPECT_EQ(command_line_take_option(5, args, 2, &options, &error), 2);
    EXPECT_EQ(command_line_take_option(5, args, 4, &options, &error), 1);
    EXPECT_EQ(options.device, DeviceChoice::OpenGL);
    EXPECT_TRUE(options.no_dialog);
}

TEST(DataFolder, ChoosesTheGivenFolderThenTheCurrentOneThenTheBuilt)
{
    const std::string base = std::string(VIRELINE_BINARY_DIR) + "/framework_data_folder_test";
    const std::string with_data = base + "/with";
    const std::string without = base + "/without";
    const std::string make =
        "rm -rf '" + base + "' && mkdir -p '" + with_data + "/scenes' '" + with_data + "/maps' '" + without + "'";
    ASSERT_EQ(std::system(make.c_str()), 0);
    EXPECT_TRUE(data_folder_holds_data(with_data));
    EXPECT_FALSE(data_folder_holds_data(without));
    EXPECT_EQ(data_folder_choose("given", with_data, without), "given");
    EXPECT_EQ(data_folder_choose("", with_data, without), with_data);
    EXPECT_EQ(data_folder_choose("", without, with_data), with_data);
    EXPECT_EQ(data_folder_choose("", without, base + "/nothing"), without);
}
