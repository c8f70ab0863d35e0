#include "platform/debug_output.h"
#include "scene3ds/chunk_ids.h"
#include "scene3ds/reader_state.h"

Vector3 read_point(ChunkFile& file) {
    const float x = file.read_float();
    const float y = file.read_float();
    const float z = file.read_float();
    return Vector3(x * FILE_UNIT_SCALE, z * FILE_UNIT_SCALE, y * FILE_UNIT_SCALE);
}

namespace {

void dispatch(ReaderState& state, std::uint16_t id, std::size_t body_end) {
    // The main chunk is only accepted as the first chunk of the file (load_3ds.cpp).
    if (id == chunk3ds::EDITOR) {
        read_children(state, body_end);
        return;
    }
    if (read_editor_chunk(state, id, body_end)) return;
    if (read_material_chunk(state, id, body_end)) return;
    read_keyframer_chunk(state, id, body_end);
}

}  // namespace

void read_children(ReaderState& state, std::size_t end) {
    ChunkFile& file = *state.file;
    if (state.nesting >= READER_MAX_NESTING) {
        OutputDebugStringA("3ds: chunks nested too deeply, skipped\n");
        return;
    }
    ++state.nesting;
    file.set_limit(end);
    end = file.limit();
    while (file.position() < end) {
        const std::size_t start = file.position();
        ChunkHeader header;
        if (!file.read_header(&header)) {
            debug_output_format("3ds: chunk header cut off at offset %zu\n", start);
            break;
        }
        if (header.length < chunk3ds::HEADER_SIZE || header.length > end - start) {
            debug_output_format("3ds: chunk %04X at offset %zu: length %u does not fit, walk ended\n",
                                header.id, start, header.length);
            break;
        }
        const std::size_t body_end = start + header.length;
        file.set_limit(body_end);
        file.clear_failure();
        dispatch(state, header.id, body_end);
        file.set_limit(end);
        file.seek(body_end);
        file.clear_failure();
    }
    --state.nesting;
}
