// vireline-scene-info: the JSON summary names what the reader made, links records by their position
// in "nodes", and the program reports missing files and usage errors by its exit status.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "scene3ds/sample_scenes.h"
#include "scene3ds/scene3ds_test_util.h"
#include "scene_info/scene_info_json.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Brackets balance outside strings, and strings hold no raw control characters.
bool well_formed(const std::string& json) {
    int depth = 0;
    bool in_string = false;
    for (std::size_t i = 0; i < json.size() && depth >= 0; ++i) {
        const char c = json[i];
        if (in_string && static_cast<unsigned char>(c) < 0x20) return false;
        if (in_string && c == '\\') {
            ++i;
        } else if (in_string) {
            in_string = c != '"';
        } else {
            in_string = c == '"';
            depth += (c == '{' || c == '[') - (c == '}' || c == ']');
        }
    }
    return depth == 0 && !in_string;
}

struct ToolRun {
    int status;
    std::string out;
};

ToolRun run_tool(const std::string& arguments) {
    const std::string command = std::string(SCENE_INFO_PROGRAM) + " " + arguments + " 2>&1";
    ToolRun run{-1, {}};
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(SceneInfo, SummarisesEveryKindOfRecord) {
    const auto scene = load_written(sample_full_scene());
    const std::string json = scene_info_json(*scene);
    EXPECT_TRUE(well_formed(json)) << json;
    // Registry: Body, Omni, Wheel, Front, Spot, Top, then Car, Front's and Top's targets, Spot's node.
    // Cameras and spot lights point at their target nodes by position in it. The evaluation order
    // has the roots in registry order, then the children of Car (Body, Front), then those of Body.
    for (const char* part : {
             R"("frames":{"start":0,"end":60})",
             R"({"name":"Body","vertices":12,"faces":12,"material_index":0,"material":"Metal")",
             R"("maps":{"texture":"metal.jpg","reflection":"env.jpg"})", R"("maps":{"opacity":"mask.tga"})",
             R"("wire":true)", R"("transparency":0.5)",
             R"({"name":"Front","field_of_view":90,"target":{"node":7,"name":"Front"}})",
             R"("spot":true,"hotspot":30,"falloff":45,"spot_node":{"node":9,"name":"Spot"})",
             R"({"kind":"dummy","name":"Car","node_id":0,"parent_id":-1,"parent":null,)",
             R"("rotation":{"keys":5,"first_frame":0})",
             R"("fov":{"keys":2,"first_frame":0},"roll":{"keys":2,"first_frame":0})",
             R"("parent":{"node":0,"name":"Body"})", R"("evaluation_order":[1,4,5,6,8,9,0,3,2,7])"})
        EXPECT_TRUE(contains(json, part)) << part << "\n" << json;
}

TEST(SceneInfo, EscapesNamesAndWritesNoNonFiniteNumbers) {
    File3dsScene file;
    file.materials.resize(1);
    file.materials[0].name = "quote\" back\\ tab\t\xE9";
    file.materials[0].shininess = File3dsPercentage{std::nanf(""), true};
    const auto scene = load_written(file);
    const std::string json = scene_info_json(*scene);
    EXPECT_TRUE(well_formed(json)) << json;
    EXPECT_TRUE(contains(json, R"("name":"quote\" back\\ tab\u0009\u00e9")")) << json;
    EXPECT_TRUE(contains(json, R"("shininess":null)")) << json;
}

TEST(SceneInfo, ProgramPrintsJsonAndReportsFailures) {
    const ToolRun ok = run_tool(testdata_3ds("pyramob.3DS"));
    EXPECT_EQ(ok.status, 0);
    EXPECT_TRUE(contains(ok.out, R"("name":"Torus Knot","vertices":18876,"faces":31460)")) << ok.out.substr(0, 400);
    EXPECT_TRUE(contains(ok.out, R"("hotspot":39.5999985,"falloff":46.5999985)"));

    const ToolRun missing = run_tool("/no/such/file.3ds");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(contains(missing.out, "/no/such/file.3ds not found!")) << missing.out;

    EXPECT_EQ(run_tool("").status, 2);
}
