// Internal to the 3DS reader: finds the first node of the registry (in creation order) that has a
// given name, as the keyframer's node headers need, without scanning the whole registry for every
// header. Nodes are indexed lazily as they are looked up; renaming an indexed node goes through here.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

struct SceneNode;

class NodeNameIndex {
public:
    // The first registry node named `name`, or null.
    SceneNode* find(const std::vector<SceneNode*>& registry, const char* name);
    // Gives the node a new name (at most 31 characters kept) and keeps the index in step.
    void rename(SceneNode* node, const char* name);

private:
    void catch_up(const std::vector<SceneNode*>& registry);

    std::unordered_map<std::string, std::set<std::size_t>> by_name_;
    std::unordered_map<const SceneNode*, std::size_t> position_;
    std::vector<SceneNode*> indexed_;
};
