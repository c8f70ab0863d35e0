#include "content/mesh_draft.h"

#include <stdexcept>

std::uint32_t MeshDraft::vertex(V3 p, float u, float v) {
    positions.push_back(p);
    uvs.push_back({u, v});
    return static_cast<std::uint32_t>(positions.size() - 1);
}

void MeshDraft::quad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    triangle(a, b, c);
    triangle(a, c, d);
}

void MeshDraft::orient(const std::function<V3(V3)>& facing) {
    for (auto& t : triangles) {
        const V3 a = positions[t[0]], b = positions[t[1]], c = positions[t[2]];
        const V3 n = cross(b - a, c - a);
        const V3 centroid = (a + b + c) * (1.0f / 3.0f);
        if (dot(n, facing(centroid)) < 0.0f) std::swap(t[1], t[2]);
    }
}

void MeshDraft::append(const MeshDraft& other) {
    const auto base = static_cast<std::uint32_t>(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (const auto& t : other.triangles) triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void MeshDraft::transform(const std::function<V3(V3)>& f) {
    for (V3& p : positions) p = f(p);
}

File3dsPoint point_to_file(V3 p) { return {p.x * 100.0f, p.z * 100.0f, p.y * 100.0f}; }

File3dsMesh mesh_to_file(const MeshDraft& draft, const std::string& name, const std::string& material, V3 origin) {
    // The reader counts vertices and faces in signed 16 bits.
    if (draft.positions.size() > 32767 || draft.triangles.size() > 32767)
        throw std::runtime_error("mesh " + name + " has " + std::to_string(draft.positions.size()) + " vertices and " +
                                 std::to_string(draft.triangles.size()) + " faces; at most 32767 of each fit");
    if (name.size() > 31) throw std::runtime_error("mesh name " + name + " is longer than 31 characters");
    File3dsMesh mesh;
    mesh.name = name;
    for (std::size_t i = 0; i < draft.positions.size(); ++i) {
        mesh.vertices.push_back(point_to_file(draft.positions[i]));
        mesh.texture_coords.push_back({draft.uvs[i][0], -draft.uvs[i][1]});
    }
    const File3dsPoint o = point_to_file(origin);
    mesh.local_axes = std::array<float, 12>{1, 0, 0, 0, 1, 0, 0, 0, 1, o.x, o.y, o.z};
    File3dsFaceGroup group{material, {}};
    for (const auto& t : draft.triangles) {
        group.faces.push_back(static_cast<std::uint16_t>(mesh.faces.size()));
        // The file winds the other way round after the axis exchange.
        mesh.faces.push_back({static_cast<std::uint16_t>(t[0]), static_cast<std::uint16_t>(t[2]),
                              static_cast<std::uint16_t>(t[1]), 7});
    }
    mesh.material_groups.push_back(std::move(group));
    return mesh;
}

MeshDraft make_sphere(V3 centre, float radius, int slices, int stacks, float u_repeat, float v_repeat) {
    MeshDraft d;
    for (int j = 0; j <= stacks; ++j) {
        const float phi = kPi * static_cast<float>(j) / static_cast<float>(stacks);
        for (int i = 0; i <= slices; ++i) {
            const float theta = kTwoPi * static_cast<float>(i) / static_cast<float>(slices);
            const V3 n{-std::cos(theta) * std::sin(phi), std::cos(phi), std::sin(theta) * std::sin(phi)};
            d.vertex(centre + n * radius, u_repeat * static_cast<float>(i) / static_cast<float>(slices),
                     v_repeat * static_cast<float>(j) / static_cast<float>(stacks));
        }
    }
    const auto at = [&](int i, int j) { return static_cast<std::uint32_t>(j * (slices + 1) + i); };
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            if (j != 0) d.triangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            if (j != stacks - 1) d.triangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    d.orient([&](V3 c) { return c - centre; });
    return d;
}

MeshDraft make_heightfield(float x0, float z0, float x1, float z1, int nx, int nz,
                           const std::function<float(float, float)>& height,
                           const std::function<std::array<float, 2>(float, float, float)>& uv) {
    MeshDraft d;
    for (int j = 0; j <= nz; ++j)
        for (int i = 0; i <= nx; ++i) {
            const float x = x0 + (x1 - x0) * static_cast<float>(i) / static_cast<float>(nx);
            const float z = z0 + (z1 - z0) * static_cast<float>(j) / static_cast<float>(nz);
            const float h = height(x, z);
            const auto t = uv(x, z, h);
            d.vertex({x, h, z}, t[0], t[1]);
        }
    const auto at = [&](int i, int j) { return static_cast<std::uint32_t>(j * (nx + 1) + i); };
    for (int j = 0; j < nz; ++j)
        for (int i = 0; i < nx; ++i) {
            // Split each quad along the diagonal that follows the surface better.
            const float h00 = d.positions[at(i, j)].y, h11 = d.positions[at(i + 1, j + 1)].y;
            const float h10 = d.positions[at(i + 1, j)].y, h01 = d.positions[at(i, j + 1)].y;
            if (std::fabs(h00 - h11) < std::fabs(h10 - h01)) {
                d.triangle(at(i, j), at(i, j + 1), at(i + 1, j + 1));
                d.triangle(at(i, j), at(i + 1, j + 1), at(i + 1, j));
            } else {
                d.triangle(at(i, j), at(i, j + 1), at(i + 1, j));
                d.triangle(at(i + 1, j), at(i, j + 1), at(i + 1, j + 1));
            }
        }
    d.orient([](V3) { return V3{0.0f, 1.0f, 0.0f}; });
    return d;
}

MeshDraft make_lathe(const std::vector<std::array<float, 2>>& profile, int segments, float u_repeat, float v_unit,
                     bool inward) {
    MeshDraft d;
    std::vector<float> along(profile.size(), 0.0f);
    for (std::size_t k = 1; k < profile.size(); ++k)
        along[k] = along[k - 1] + std::hypot(profile[k][0] - profile[k - 1][0], profile[k][1] - profile[k - 1][1]);
    for (std::size_t k = 0; k < profile.size(); ++k)
        for (int i = 0; i <= segments; ++i) {
            const float theta = kTwoPi * static_cast<float>(i) / static_cast<float>(segments);
            d.vertex({std::cos(theta) * profile[k][0], profile[k][1], std::sin(theta) * profile[k][0]},
                     u_repeat * static_cast<float>(i) / static_cast<float>(segments), along[k] / v_unit);
        }
    const auto at = [&](std::size_t k, int i) { return static_cast<std::uint32_t>(k * static_cast<std::size_t>(segments + 1) + static_cast<std::size_t>(i)); };
    for (std::size_t k = 0; k + 1 < profile.size(); ++k) {
        // The outward side of this band: the profile's edge turned a quarter towards +radius.
        const float dr = profile[k + 1][0] - profile[k][0], dy = profile[k + 1][1] - profile[k][1];
        for (int i = 0; i < segments; ++i) {
            const std::uint32_t a = at(k, i), b = at(k, i + 1), c = at(k + 1, i + 1), e = at(k + 1, i);
            const std::size_t first = d.triangles.size();
            d.quad(a, b, c, e);
            const float mid = kTwoPi * (static_cast<float>(i) + 0.5f) / static_cast<float>(segments);
            V3 out{std::cos(mid) * dy, -dr, std::sin(mid) * dy};
            if (inward) out = out * -1.0f;
            for (std::size_t t = first; t < d.triangles.size(); ++t) {
                auto& tri = d.triangles[t];
                const V3 pa = d.positions[tri[0]], pb = d.positions[tri[1]], pc = d.positions[tri[2]];
                if (dot(cross(pb - pa, pc - pa), out) < 0.0f) std::swap(tri[1], tri[2]);
            }
        }
    }
    return d;
}

MeshDraft make_box(float hx, float hy, float hz, int n) {
    MeshDraft d;
    const V3 half{hx, hy, hz};
    // Each face: its normal axis and sign, and the two axes its grid runs along.
    struct Face {
        V3 normal, u_axis, v_axis;
    };
    const Face faces[] = {
        {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}}, {{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}}, {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        {{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}}, {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
    };
    for (const Face& f : faces) {
        MeshDraft face;
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) {
                const float s = -1.0f + 2.0f * static_cast<float>(i) / static_cast<float>(n);
                const float t = -1.0f + 2.0f * static_cast<float>(j) / static_cast<float>(n);
                const V3 unit = f.normal + f.u_axis * s + f.v_axis * t;
                face.vertex({unit.x * half.x, unit.y * half.y, unit.z * half.z}, static_cast<float>(i) / static_cast<float>(n),
                            static_cast<float>(j) / static_cast<float>(n));
            }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const auto at = [&](int a, int b) { return static_cast<std::uint32_t>(b * (n + 1) + a); };
                face.quad(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
            }
        const V3 normal = f.normal;
        face.orient([normal](V3) { return normal; });
        d.append(face);
    }
    return d;
}
