// The material chunks: a material's name (which creates it), its colours and percentages, the wire
// flag, its three maps with their file names, and the colour and percentage value chunks that the
// containers (and lights) hold.
#include <algorithm>

#include "scene3ds/chunk_ids.h"
#include "scene3ds/reader_state.h"

namespace {

void read_material_name(ReaderState& state) {
    char name[MATERIAL_NAME_SIZE];
    state.file->read_name(name, sizeof name);
    if (state.file->failed()) return;
    Material* material = state.scene->add_material();
    std::copy(name, name + MATERIAL_NAME_SIZE, material->name);
    state.material = material;
    state.map = nullptr;  // the map slots belong to the material
}

// A colour container: its value chunks set the current colour, which then goes to the material.
void read_colour_container(ReaderState& state, std::size_t body_end, ColorRgb Material::*field) {
    read_children(state, body_end);
    if (state.material != nullptr) state.material->*field = state.colour;
}

void read_percentage_container(ReaderState& state, std::size_t body_end, float Material::*field) {
    read_children(state, body_end);
    if (state.material != nullptr) state.material->*field = state.percentage;
}

void read_map(ReaderState& state, std::size_t body_end, MaterialMap Material::*slot, std::uint32_t bit) {
    if (state.material == nullptr) return;
    state.map = &(state.material->*slot);
    state.material->maps_present |= bit;
    read_children(state, body_end);
}

void read_map_file_name(ReaderState& state) {
    if (state.map == nullptr) return;
    char name[MATERIAL_MAP_NAME_SIZE];
    state.file->read_name(name, sizeof name);
    if (state.file->failed()) return;
    std::copy(name, name + MATERIAL_MAP_NAME_SIZE, state.map->file_name);
}

void read_colour_floats(ReaderState& state) {
    ChunkFile& file = *state.file;
    const float r = file.read_float();
    const float g = file.read_float();
    const float b = file.read_float();
    if (!file.failed()) state.colour = ColorRgb{r, g, b};
}

void read_colour_bytes(ReaderState& state) {
    ChunkFile& file = *state.file;
    const float r = file.read_u8() * 0.003921569f;
    const float g = file.read_u8() * 0.003921569f;
    const float b = file.read_u8() * 0.003921569f;
    if (!file.failed()) state.colour = ColorRgb{r, g, b};
}

void read_percent_int(ReaderState& state) {
    const std::int16_t value = state.file->read_i16();
    if (!state.file->failed()) state.percentage = value * 0.01f;
}

void read_percent_float(ReaderState& state) {
    const float value = state.file->read_float();
    if (!state.file->failed()) state.percentage = value;
}

}  // namespace

bool read_material_chunk(ReaderState& state, std::uint16_t id, std::size_t body_end) {
    switch (id) {
        case chunk3ds::MATERIAL_ENTRY: read_children(state, body_end); return true;
        case chunk3ds::MATERIAL_NAME: read_material_name(state); return true;
        case chunk3ds::MATERIAL_AMBIENT: read_colour_container(state, body_end, &Material::ambient); return true;
        case chunk3ds::MATERIAL_DIFFUSE: read_colour_container(state, body_end, &Material::diffuse); return true;
        case chunk3ds::MATERIAL_SPECULAR: read_colour_container(state, body_end, &Material::specular); return true;
        case chunk3ds::MATERIAL_SHININESS:
            read_percentage_container(state, body_end, &Material::shininess);
            return true;
        case chunk3ds::MATERIAL_SHININESS_STRENGTH:
            read_percentage_container(state, body_end, &Material::shininess_strength);
            return true;
        case chunk3ds::MATERIAL_TRANSPARENCY:
            read_percentage_container(state, body_end, &Material::transparency);
            return true;
        case chunk3ds::MATERIAL_WIRE:
            if (state.material != nullptr) state.material->wire = 1;
            return true;
        case chunk3ds::TEXTURE_MAP:
            read_map(state, body_end, &Material::texture_map, MATERIAL_MAP_TEXTURE);
            return true;
        case chunk3ds::OPACITY_MAP:
            read_map(state, body_end, &Material::opacity_map, MATERIAL_MAP_OPACITY);
            return true;
        case chunk3ds::REFLECTION_MAP:
            read_map(state, body_end, &Material::reflection_map, MATERIAL_MAP_REFLECTION);
            return true;
        case chunk3ds::MAP_FILE_NAME: read_map_file_name(state); return true;
        case chunk3ds::COLOR_FLOAT:
        case chunk3ds::COLOR_FLOAT_GAMMA: read_colour_floats(state); return true;
        case chunk3ds::COLOR_BYTES:
        case chunk3ds::COLOR_BYTES_GAMMA: read_colour_bytes(state); return true;
        case chunk3ds::PERCENT_INT: read_percent_int(state); return true;
        case chunk3ds::PERCENT_FLOAT: read_percent_float(state); return true;
        default: return false;
    }
}
