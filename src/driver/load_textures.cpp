// The second loading step: the "blur" render target and the pictures. The credits and the logo lie in
// maps/creds/, every other picture in maps/; a name already loaded (by a scene's material or by the
// tunnel) stays as it is.
#include "driver/demo_assets.h"
#include "textures/texture_manager.h"

namespace {
struct PictureLoad {
    const char* name;
    DWORD alpha_bits;
};
constexpr PictureLoad kPictures[] = {
    {"metal.jpg", 8}, {"vireline.jpg", 0}, {"allas.jpg", 0}, {"tovel.jpg", 0}, {"tahteet.jpg", 0},
    {"mirte.jpg", 0}, {"kuulat.jpg", 0},   {"greets.jpg", 8}, {"kald.jpg", 0},  {"orv.jpg", 0},
};
}  // namespace

void load_textures()
{
    texture_set_directory("maps/creds/");
    texture_create_target("blur", 256, 256, 32, 8, 0, DDSCAPS_3DDEVICE);
    for (const char* name : DEMO_CREDITS) {
        texture_load(name, 32, 8);
        texture_alpha_from_blue(name);
    }
    texture_load("kestra2.jpg", 32, 8);
    texture_alpha_from_blue("kestra2.jpg");
    texture_set_directory("maps/");
    for (const PictureLoad& p : kPictures) texture_load(p.name, 32, p.alpha_bits);
    texture_alpha_from_blue("greets.jpg");
}

void release_textures()
{
    for (const char* name : DEMO_CREDITS) texture_delete(name);
    texture_delete("metal.jpg");
}
