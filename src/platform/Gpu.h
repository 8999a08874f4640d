// Gpu: the drawing operations the game's media layer needs of a GPU, in its own terms.
// Implementations: OpenGL 3.3 core (platform/gl) and a null back end for tests and benchmarks.
// Depends on: nothing.
#pragma once

namespace platform {

// A texture living on the GPU; back ends derive from it.
struct Texture {
    virtual ~Texture() = default;
    int width = 0;
    int height = 0;
};

class Gpu {
public:
    virtual ~Gpu() = default;
};

}  // namespace platform
