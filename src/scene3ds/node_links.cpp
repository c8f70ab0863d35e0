#include "scene3ds/node_links.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "platform/debug_output.h"
#include "scene3ds/scene.h"

namespace {

constexpr int kDepthUnknown = -1;
constexpr int kDepthInProgress = -2;

void resolve_parents(const std::vector<SceneNode*>& registry) {
    std::unordered_map<std::int32_t, SceneNode*> first_with_id;
    for (SceneNode* node : registry) first_with_id.try_emplace(node->node_id, node);
    for (SceneNode* node : registry) {
        node->parent = nullptr;
        if (node->parent_id == -1) continue;
        const auto found = first_with_id.find(node->parent_id);
        if (found != first_with_id.end()) node->parent = found->second;
    }
}

// Depth of every node (number of ancestors), indexed like the registry. Walks each chain once; a
// chain that comes back to a node on the current path is a cycle, cut at the link that closes it.
std::vector<int> node_depths(const std::vector<SceneNode*>& registry) {
    std::unordered_map<const SceneNode*, std::size_t> index_of;
    for (std::size_t i = 0; i < registry.size(); ++i) index_of.emplace(registry[i], i);

    std::vector<int> depth(registry.size(), kDepthUnknown);
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < registry.size(); ++start) {
        if (depth[start] >= 0) continue;
        path.clear();
        int base = -1;
        std::size_t j = start;
        for (;;) {
            if (depth[j] >= 0) {
                base = depth[j];
                break;
            }
            if (depth[j] == kDepthInProgress) {
                SceneNode* closing = registry[path.back()];
                debug_output_format("node %s: parent cycle cut\n", closing->name);
                closing->parent = nullptr;
                base = -1;
                break;
            }
            depth[j] = kDepthInProgress;
            path.push_back(j);
            const SceneNode* parent = registry[j]->parent;
            if (parent == nullptr) break;
            j = index_of.at(parent);
        }
        for (std::size_t k = path.size(); k-- > 0;) depth[path[k]] = ++base;
    }
    return depth;
}

}  // namespace

void link_nodes(Scene3ds* scene) {
    const std::vector<SceneNode*>& registry = scene->node_registry;
    resolve_parents(registry);
    const std::vector<int> depth = node_depths(registry);

    for (std::size_t i = 0; i < scene->cameras.size(); ++i)
        scene->cameras[i]->target =
            i < static_cast<std::size_t>(scene->camera_target_count) ? scene->camera_targets[i] : nullptr;

    int next_spot = 0;
    for (LightNode* light : scene->lights) {
        light->spot_node = nullptr;
        if (light->spot == 0) continue;
        if (next_spot < scene->spot_node_count) light->spot_node = scene->spot_nodes[next_spot++];
    }

    std::vector<std::size_t> order(registry.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&depth](std::size_t a, std::size_t b) { return depth[a] < depth[b]; });
    scene->evaluation_order.clear();
    scene->evaluation_order.reserve(order.size());
    for (std::size_t i : order) scene->evaluation_order.push_back(registry[i]);
}
