// The sprite shader pair in GLSL 3.30: pixel positions through the transform, the tint times
// the texel. Depth 0..1 is mapped onto GL's clip range so that clipping matches.
// Depends on: platform/gl/SpriteShader.h, libepoxy.
#include "platform/gl/SpriteShader.h"

#include <vector>

namespace platform::gl {

namespace {

constexpr const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_color;
layout(location = 2) in vec2 a_texcoord;
uniform mat4 u_transform;
out vec4 v_color;
out vec2 v_texcoord;
void main() {
    vec4 p = u_transform * vec4(a_position, 1.0);
    p.z = 2.0 * p.z - p.w;
    gl_Position = p;
    v_color = a_color;
    v_texcoord = a_texcoord;
}
)";

constexpr const char* kPixelSource = R"(#version 330 core
uniform sampler2D u_texture;
in vec4 v_color;
in vec2 v_texcoord;
out vec4 o_color;
void main() {
    o_color = texture(u_texture, v_texcoord) * v_color;
}
)";

// Compiles one stage; 0 with the compiler's log in error.
GLuint Compile(GLenum stage, const char* source, std::string* error) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return shader;
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(size_t(length) + 1);
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    if (error) *error = std::string("sprite shader does not compile: ") + log.data();
    glDeleteShader(shader);
    return 0;
}

}  // namespace

GLuint BuildSpriteProgram(std::string* error) {
    GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexSource, error);
    if (!vertex) return 0;
    GLuint pixel = Compile(GL_FRAGMENT_SHADER, kPixelSource, error);
    if (!pixel) {
        glDeleteShader(vertex);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, pixel);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(pixel);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        if (error) *error = "sprite shaders do not link";
        glDeleteProgram(program);
        return 0;
    }
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "u_texture"), 0);
    return program;
}

}  // namespace platform::gl
