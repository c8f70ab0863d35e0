#include "scene3ds/node_name_index.h"

#include <cstring>

#include "scene3ds/scene_node.h"

void NodeNameIndex::catch_up(const std::vector<SceneNode*>& registry) {
    for (std::size_t i = indexed_.size(); i < registry.size(); ++i) {
        SceneNode* node = registry[i];
        indexed_.push_back(node);
        position_.emplace(node, i);
        by_name_[node->name].insert(i);
    }
}

SceneNode* NodeNameIndex::find(const std::vector<SceneNode*>& registry, const char* name) {
    catch_up(registry);
    const auto found = by_name_.find(name);
    if (found == by_name_.end() || found->second.empty()) return nullptr;
    return indexed_[*found->second.begin()];
}

void NodeNameIndex::rename(SceneNode* node, const char* name) {
    const auto at = position_.find(node);
    if (at != position_.end()) by_name_[node->name].erase(at->second);
    std::memset(node->name, 0, sizeof node->name);
    std::strncpy(node->name, name, sizeof node->name - 1);
    if (at != position_.end()) by_name_[node->name].insert(at->second);
}
