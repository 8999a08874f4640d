// GlGpu: textures, buffers, states and draws on OpenGL 3.3 core, presentation through SDL.
// Depends on: platform/gl/GlGpu.h, platform/gl/SpriteShader.h, SDL2, libepoxy.
#include "platform/gl/GlGpu.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gl/Letterbox.h"
#include "platform/gl/SpriteShader.h"

namespace platform {

std::unique_ptr<Gpu> CreateGlGpu(void* window, std::string* error) {
    auto* sdlWindow = static_cast<SDL_Window*>(window);
    SDL_GLContext context = SDL_GL_CreateContext(sdlWindow);
    if (!context) {
        if (error) *error = std::string("cannot create a GL context: ") + SDL_GetError();
        return nullptr;
    }
    if (SDL_GL_MakeCurrent(sdlWindow, context) != 0) {
        if (error) *error = std::string("cannot make the GL context current: ") + SDL_GetError();
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    if (epoxy_gl_version() < 33 || epoxy_is_desktop_gl() == 0) {
        if (error) *error = "OpenGL 3.3 core is not available";
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    SDL_GL_SetSwapInterval(0);
    return std::make_unique<gl::GlGpu>(sdlWindow, context);
}

namespace gl {

namespace {

// GL's name for a blend factor.
GLenum Factor(BlendFactor factor) {
    switch (factor) {
        case BlendFactor::Zero:
            return GL_ZERO;
        case BlendFactor::One:
            return GL_ONE;
        case BlendFactor::SrcAlpha:
            return GL_SRC_ALPHA;
        case BlendFactor::InvSrcAlpha:
            return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

}  // namespace

GlGpu::GlGpu(SDL_Window* window, SDL_GLContext context)
    : window_(window), context_(context), alive_(std::make_shared<SDL_GLContext>(context)) {
    const char* driver = SDL_GetCurrentVideoDriver();
    offscreenDriver_ = driver && std::strcmp(driver, "offscreen") == 0;
    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glActiveTexture(GL_TEXTURE0);
}

// Names are freed only while the context is current: after the window is gone (exit), the
// context's own deletion frees them.
GlGpu::~GlGpu() {
    if (Usable(alive_)) {
        if (colorBuffer_) glDeleteRenderbuffers(1, &colorBuffer_);
        if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
        glDeleteVertexArrays(1, &vertexArray_);
    }
    alive_.reset();
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_GL_DeleteContext(context_);
}

// An RGBA8 colour buffer in a framebuffer of its own; all drawing goes there.
bool GlGpu::CreateBackBuffer(int width, int height, std::string* error) {
    if (width <= 0 || height <= 0) {
        if (error) *error = "back buffer size must be positive";
        return false;
    }
    if (!framebuffer_) glGenFramebuffers(1, &framebuffer_);
    if (!colorBuffer_) glGenRenderbuffers(1, &colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        if (error) *error = "the back buffer's framebuffer is incomplete";
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

int GlGpu::MaxTextureSize() const {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

std::shared_ptr<Texture> GlGpu::CreateTexture(int width, int height, PixelFormat format,
                                              const void* pixels, bool mipmaps,
                                              std::string* error) {
    if (width <= 0 || height <= 0 || width > MaxTextureSize() || height > MaxTextureSize()) {
        if (error) *error = "texture size out of range";
        return nullptr;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    GLenum layout = format == PixelFormat::BGRA8 ? GL_BGRA : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, layout, GL_UNSIGNED_BYTE, pixels);
    if (mipmaps)
        glGenerateMipmap(GL_TEXTURE_2D);
    else
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    auto texture = std::make_shared<GlTexture>(alive_, name);
    texture->width = width;
    texture->height = height;
    if (glGetError() != GL_NO_ERROR) {
        if (error) *error = "the GL driver rejected the texture";
        return nullptr;
    }
    return texture;
}

std::unique_ptr<Buffer> GlGpu::CreateBuffer(BufferKind kind, size_t bytes, const void* initial,
                                            std::string* error) {
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(GL_COPY_WRITE_BUFFER, name);
    GLenum usage = kind == BufferKind::DynamicVertex ? GL_STREAM_DRAW : GL_STATIC_DRAW;
    glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(bytes), initial, usage);
    auto buffer = std::make_unique<GlBuffer>(alive_, name);
    buffer->bytes = bytes;
    if (glGetError() != GL_NO_ERROR) {
        if (error) *error = "the GL driver rejected a buffer";
        return nullptr;
    }
    return buffer;
}

// Discard orphans the whole buffer; no-overwrite maps the range without waiting for the GPU.
void* GlGpu::Map(Buffer& buffer, size_t offset, size_t bytes, MapMode mode) {
    if (offset + bytes > buffer.bytes || bytes == 0) return nullptr;
    glBindBuffer(GL_COPY_WRITE_BUFFER, static_cast<GlBuffer&>(buffer).name);
    GLbitfield access =
        GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT |
        (mode == MapMode::Discard ? GL_MAP_INVALIDATE_BUFFER_BIT : GL_MAP_INVALIDATE_RANGE_BIT);
    return glMapBufferRange(GL_COPY_WRITE_BUFFER, GLintptr(offset), GLsizeiptr(bytes), access);
}

void GlGpu::Unmap(Buffer& buffer) {
    glBindBuffer(GL_COPY_WRITE_BUFFER, static_cast<GlBuffer&>(buffer).name);
    glUnmapBuffer(GL_COPY_WRITE_BUFFER);
}

std::unique_ptr<Shader> GlGpu::CreateSpriteShader(std::string* error) {
    GLuint program = BuildSpriteProgram(error);
    if (!program) return nullptr;
    auto shader = std::make_unique<GlShader>(alive_, program);
    shader->transformLocation = glGetUniformLocation(program, "u_transform");
    return shader;
}

std::shared_ptr<BlendState> GlGpu::CreateBlendState(const BlendDesc& desc) {
    auto state = std::make_shared<BlendState>();
    state->desc = desc;
    return state;
}

std::shared_ptr<DepthStencilState> GlGpu::CreateDepthStencilState(const DepthStencilDesc& desc) {
    auto state = std::make_shared<DepthStencilState>();
    state->desc = desc;
    return state;
}

std::shared_ptr<RasterizerState> GlGpu::CreateRasterizerState(const RasterizerDesc& desc) {
    auto state = std::make_shared<RasterizerState>();
    state->desc = desc;
    return state;
}

// A GL sampler object; anisotropy only matters to anisotropic filtering, which is not used.
std::shared_ptr<SamplerState> GlGpu::CreateSamplerState(const SamplerDesc& desc) {
    GLuint name = 0;
    glGenSamplers(1, &name);
    GLint min = desc.linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    GLint mag = desc.linear ? GL_LINEAR : GL_NEAREST;
    GLint wrap = desc.clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER, min);
    glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER, mag);
    glSamplerParameteri(name, GL_TEXTURE_WRAP_S, wrap);
    glSamplerParameteri(name, GL_TEXTURE_WRAP_T, wrap);
    glSamplerParameteri(name, GL_TEXTURE_WRAP_R, wrap);
    auto state = std::make_shared<GlSampler>(alive_, name);
    state->desc = desc;
    return state;
}

void GlGpu::SetBlendState(const BlendState& state) {
    const BlendDesc& d = state.desc;
    if (!d.enable) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFuncSeparate(Factor(d.src), Factor(d.dst), Factor(d.srcAlpha), Factor(d.dstAlpha));
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void GlGpu::SetDepthStencilState(const DepthStencilState& state) {
    // The back buffer has no depth, so depth tests could only ever pass.
    if (state.desc.depthTest)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(state.desc.depthWrite ? GL_TRUE : GL_FALSE);
}

// Screen-clockwise triangles are GL_CW too, because the transform flips y into GL's clip space.
void GlGpu::SetRasterizerState(const RasterizerState& state) {
    const RasterizerDesc& d = state.desc;
    if (d.cull == CullMode::None) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(d.cull == CullMode::Back ? GL_BACK : GL_FRONT);
    }
    glFrontFace(d.frontCounterClockwise ? GL_CCW : GL_CW);
    if (d.depthClip)
        glDisable(GL_DEPTH_CLAMP);
    else
        glEnable(GL_DEPTH_CLAMP);
}

void GlGpu::SetSamplerState(const SamplerState& state) {
    glBindSampler(0, static_cast<const GlSampler&>(state).name);
}

void GlGpu::SetShader(const Shader& shader) {
    shader_ = static_cast<const GlShader*>(&shader);
    glUseProgram(shader_->program);
    transformDirty_ = true;
}

void GlGpu::SetTransform(const float matrix[16]) {
    std::copy(matrix, matrix + 16, transform_);
    transformDirty_ = true;
}

// Binds the vertex buffer with the sprite vertex layout.
void GlGpu::SetVertexBuffer(const Buffer& buffer) {
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<const GlBuffer&>(buffer).name);
    const GLsizei stride = sizeof(SpriteVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(SpriteVertex, x));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(SpriteVertex, r));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(SpriteVertex, u));
}

void GlGpu::SetIndexBuffer(const Buffer& buffer) {
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<const GlBuffer&>(buffer).name);
}

void GlGpu::SetTexture(const Texture& texture) {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, static_cast<const GlTexture&>(texture).name);
}

// Uploads the transform as stored: row-major rows read as GL columns give the row-vector product.
void GlGpu::DrawIndexed(uint32_t indexCount, uint32_t startIndex, int32_t baseVertex) {
    if (!shader_) return;
    if (transformDirty_) {
        glUniformMatrix4fv(shader_->transformLocation, 1, GL_FALSE, transform_);
        transformDirty_ = false;
    }
    glDrawElementsBaseVertex(GL_TRIANGLES, GLsizei(indexCount), GL_UNSIGNED_SHORT,
                             (void*)(uintptr_t(startIndex) * sizeof(uint16_t)), baseVertex);
}

// Pixel rectangles have their origin top-left; GL's are bottom-left.
void GlGpu::SetViewport(const Viewport& viewport) {
    viewport_ = viewport;
    hasViewport_ = true;
    glViewport(GLint(viewport.x), GLint(float(height_) - viewport.y - viewport.height),
               GLsizei(viewport.width), GLsizei(viewport.height));
}

bool GlGpu::GetViewport(Viewport* viewport) const {
    if (hasViewport_ && viewport) *viewport = viewport_;
    return hasViewport_;
}

void GlGpu::ClearState() {
    hasViewport_ = false;
    shader_ = nullptr;
    glUseProgram(0);
    glBindSampler(0, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
}

void GlGpu::Clear(float r, float g, float b, float a) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Copies the frame to the window, scaled to the largest centred fit of the window's real pixels
// with black bars around it, and swaps; the frame itself stays in the back buffer.
bool GlGpu::Present() {
    int drawableW = 0, drawableH = 0;
    SDL_GL_GetDrawableSize(window_, &drawableW, &drawableH);
    const PixelRect fit = Letterbox(width_, height_, drawableW, drawableH);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (fit.width != drawableW || fit.height != drawableH) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    const GLenum filter = (fit.width == width_ && fit.height == height_) ? GL_NEAREST : GL_LINEAR;
    const int bottom = drawableH - fit.y - fit.height;  // GL counts rows from the bottom
    glBlitFramebuffer(0, 0, width_, height_, fit.x, bottom, fit.x + fit.width, bottom + fit.height,
                      GL_COLOR_BUFFER_BIT, filter);
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return IsOccluded();
}

// Minimised or hidden windows cannot be seen; an off-screen surface never is occluded.
bool GlGpu::IsOccluded() {
    if (offscreenDriver_) return false;
    return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

bool GlGpu::ReadBackBuffer(Image* out, std::string* error) {
    if (!framebuffer_) {
        if (error) *error = "no back buffer to read";
        return false;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    std::vector<uint8_t> pixels(size_t(width_) * height_ * 4);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    if (glGetError() != GL_NO_ERROR) {
        if (error) *error = "the back buffer cannot be read";
        return false;
    }
    out->width = width_;
    out->height = height_;
    out->rgba.resize(pixels.size());
    const size_t row = size_t(width_) * 4;
    for (int y = 0; y < height_; ++y)
        std::memcpy(&out->rgba[size_t(y) * row], &pixels[size_t(height_ - 1 - y) * row], row);
    for (size_t i = 3; i < out->rgba.size(); i += 4) out->rgba[i] = 255;
    return true;
}

}  // namespace gl
}  // namespace platform
