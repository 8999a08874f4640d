// The sprite shader program of the OpenGL back end.
// Depends on: libepoxy.
#pragma once

#include <epoxy/gl.h>

#include <string>

namespace platform::gl {

// Compiles and links the sprite program (texture unit 0); 0 with error on failure.
GLuint BuildSpriteProgram(std::string* error);

}  // namespace platform::gl
