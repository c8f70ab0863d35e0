// The summary that vireline-scene-info prints for a loaded 3DS scene, as JSON: frame segment; meshes
// (counts, material, first vertices as stored, pivot, bounding centre); materials (colours,
// percentages, wire, maps); cameras; lights; the nodes in registry order with their ids, parents and
// key counts; and the evaluation order. Links between records are positions in the "nodes" array.
// For people who make or check scene files, and an oracle for tests.
#pragma once

#include <string>

class Scene3ds;

std::string scene_info_json(const Scene3ds& scene);
