#include "parts/part_steps.h"

float part_scene_end(const SceneObject& scene)
{
    return scene.scene ? static_cast<float>(scene.scene->end_frame) : 0.0f;
}

void part_scene_step(SceneObject& scene, float step, float wrap)
{
    scene.time += step;
    if (scene.time > wrap) scene.time = 0.0f;
    scene.animate();
}

void part_scene_draw(SceneObject& scene, int camera, bool materials, float aspect)
{
    scene.set_default_states();
    scene.draw(camera, materials, aspect);
}

void part_phase_advance(float* angle, float step)
{
    *angle += step;
    if (*angle > PART_TWO_PI) *angle -= PART_TWO_PI;
}
