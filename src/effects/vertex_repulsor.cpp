#include "effects/vertex_repulsor.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "math/random.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = kPi * 2.0f;

float random_phase() { return static_cast<float>(random_next() % 1000) * 0.001f * kPi * 2.0f; }

void advance(float* phase, float step) {
    *phase += step;
    if (*phase > kTwoPi) *phase -= kTwoPi;
}

}  // namespace

void vertex_repulsor_create(VertexRepulsor* repulsor, MeshRecord deformed, MeshRecord rest) {
    repulsor->deformed = std::move(deformed);
    repulsor->rest = std::move(rest);
    repulsor->a = random_phase();
    repulsor->b = random_phase();
    repulsor->c = random_phase();
}

void vertex_repulsor_advance(VertexRepulsor* repulsor, float seconds) {
    advance(&repulsor->a, seconds * 1.3356355f);
    advance(&repulsor->b, seconds * 1.7356344f);
    advance(&repulsor->c, seconds * 2.1843455f);
}

void repel_vertices(VertexRepulsor* repulsor) {
    repulsor->point = Vector3{25.0f * std::cos(repulsor->a), 25.0f * std::sin(repulsor->b), 25.0f * std::cos(repulsor->c)};
    const std::size_t count = std::min(repulsor->deformed.vertices.size(), repulsor->rest.vertices.size());
    for (std::size_t i = 0; i < count; ++i) {
        D3DLVERTEX& vertex = repulsor->deformed.vertices[i];
        const D3DLVERTEX& rest = repulsor->rest.vertices[i];
        Vector3 position{rest.x, rest.y, rest.z};
        const Vector3 away = position - repulsor->point;
        const float d = vector3_length(away);
        const float reach = (80.0f - d) * 0.025f;
        const float f = reach * reach * 40.0f;
        if (f > 0.0f && d > 0.0f) position += Vector3{away.x / d, away.y / d, away.z / d} * f;
        vertex.x = position.x;
        vertex.y = position.y;
        vertex.z = position.z;
    }
}
