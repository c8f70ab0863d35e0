#include "content/scenes.h"

const std::vector<SceneJob>& scene_jobs() {
    static const std::vector<SceneJob> jobs = {
        {"scenes/outous.3ds", scene_outous},   {"scenes/kanjoni.3ds", scene_kanjoni}, {"scenes/altaat.3ds", scene_altaat},
        {"scenes/taustaa.3ds", scene_taustaa}, {"scenes/planet.3ds", scene_planet},   {"scenes/pallo.3ds", scene_pallo},
        {"scenes/boxi.3ds", scene_boxi},       {"scenes/cylinder.3ds", scene_cylinder},
    };
    return jobs;
}
