// GL resource records of the OpenGL back end. Each holds a token of its context, so that a
// record outliving the context (a texture kept by a store until process exit) releases nothing.
// Depends on: platform/Gpu.h, libepoxy.
#pragma once

#include <SDL.h>
#include <epoxy/gl.h>

#include <memory>

#include "platform/Gpu.h"

namespace platform::gl {

// Alive while the GL context is; records check it before deleting names.
using ContextToken = std::weak_ptr<SDL_GLContext>;

// True when GL may be called for token's context: it still exists and is current.
inline bool Usable(const ContextToken& token) {
    auto context = token.lock();
    return context && SDL_GL_GetCurrentContext() == *context;
}

struct GlTexture : Texture {
    GlTexture(ContextToken token, GLuint name) : token(std::move(token)), name(name) {}
    ~GlTexture() override {
        if (Usable(token)) glDeleteTextures(1, &name);
    }
    ContextToken token;
    GLuint name;
};

struct GlBuffer : Buffer {
    GlBuffer(ContextToken token, GLuint name) : token(std::move(token)), name(name) {}
    ~GlBuffer() override {
        if (Usable(token)) glDeleteBuffers(1, &name);
    }
    ContextToken token;
    GLuint name;
};

struct GlShader : Shader {
    GlShader(ContextToken token, GLuint program) : token(std::move(token)), program(program) {}
    ~GlShader() override {
        if (Usable(token)) glDeleteProgram(program);
    }
    ContextToken token;
    GLuint program;
    GLint transformLocation = -1;
};

struct GlSampler : SamplerState {
    GlSampler(ContextToken token, GLuint name) : token(std::move(token)), name(name) {}
    ~GlSampler() override {
        if (Usable(token)) glDeleteSamplers(1, &name);
    }
    ContextToken token;
    GLuint name;
};

}  // namespace platform::gl
