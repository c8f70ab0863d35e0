#include "content/pictures.h"

namespace {

template <int Index>
void credit(Picture& p) {
    paint_credits(p, Index);
}

}  // namespace

const std::vector<PictureJob>& picture_jobs() {
    constexpr float kScreen = 4.0f / 3.0f;
    static const std::vector<PictureJob> jobs = {
        {"maps/creds/creds0.jpg", 256, 128, 2.0f, true, credit<0>},
        {"maps/creds/creds1.jpg", 256, 128, 2.0f, true, credit<1>},
        {"maps/creds/creds2.jpg", 256, 128, 2.0f, true, credit<2>},
        {"maps/creds/creds3.jpg", 256, 128, 2.0f, true, credit<3>},
        {"maps/creds/creds4.jpg", 256, 128, 2.0f, true, credit<4>},
        {"maps/creds/creds5.jpg", 256, 128, 2.0f, true, credit<5>},
        {"maps/creds/creds6.jpg", 256, 128, 2.0f, true, credit<6>},
        {"maps/creds/kestra2.jpg", 512, 512, 1.0f, true, paint_logo},
        {"maps/greets.jpg", 512, 1024, 320.0f / 480.0f, true, paint_greetings},
        {"maps/vireline.jpg", 1024, 512, kScreen, false, paint_title},
        {"maps/kald.jpg", 1024, 512, kScreen, false, paint_kald},
        {"maps/orv.jpg", 1024, 512, kScreen, false, paint_orv},
        {"maps/kuulat.jpg", 1024, 512, kScreen, false, paint_kuulat},
        {"maps/tovel.jpg", 1024, 512, kScreen, false, paint_tovel},
        {"maps/metal.jpg", 256, 256, 1.0f, false, paint_metal},
        {"maps/tahteet.jpg", 512, 512, 1.0f, false, paint_stars},
        {"maps/allas.jpg", 256, 256, 1.0f, false, paint_pool},
        {"maps/mirte.jpg", 256, 256, 1.0f, false, paint_mirte},
        {"maps/tasma1.jpg", 256, 256, 1.0f, false, paint_blob_base},
        {"maps/tasma2.jpg", 256, 256, 1.0f, false, paint_blob_shine},
        {"maps/taivas.jpg", 1024, 512, 2.0f, false, paint_sky},
        {"maps/sumu.jpg", 1024, 512, 2.0f, false, paint_nebula},
        {"maps/maa.jpg", 256, 256, 1.0f, false, paint_sand},
        {"maps/kivi.jpg", 256, 256, 1.0f, false, paint_marble},
        {"maps/kallio.jpg", 512, 512, 1.0f, false, paint_strata},
        {"maps/laatta.jpg", 256, 256, 1.0f, false, paint_tiles},
    };
    return jobs;
}
