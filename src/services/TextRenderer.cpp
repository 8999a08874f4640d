// TextRenderer: strings laid out by the text engine, cached as premultiplied textures and
// composited over the back buffer with a sprite batch after the sprite pass.
// Depends on: platform/TextEngine.h, platform/Codepage.h, media/SpriteBatch.h,
// media/CommonStates.h, services/GraphicsDevice.h.
#include "services/TextRenderer.h"

#include <cmath>
#include <cstring>
#include <exception>
#include <filesystem>

#include "media/CommonStates.h"
#include "media/SpriteBatch.h"
#include "platform/Codepage.h"
#include "platform/Gpu.h"
#include "platform/TextEngine.h"
#include "services/FrameRecord.h"
#include "services/GraphicsDevice.h"

namespace {
// A cached layout not drawn for this many passes is dropped.
constexpr uint64_t kKeepPasses = 120;
// The font that serves every character the game's family stands for.
constexpr wchar_t kFallbackFamily[] = L"IPAexGothic";
// The screens were laid out for the designed family, whose lines are 1.5 em apart with the
// first baseline 15/14 em below the rectangle's top (21 and 15 pixels at size 14); every font
// that stands in for it keeps those distances, so blocks meant to sit apart do not collide.
constexpr float kLineAdvanceEm = 1.5f;
constexpr float kFirstBaselineEm = 15.0f / 14.0f;
}  // namespace

TextRenderer::TextRenderer() = default;
TextRenderer::~TextRenderer() = default;

TextRenderer& TextRenderer::Get() {
    static TextRenderer renderer;
    return renderer;
}

bool TextRenderer::Initialize(const std::wstring& family, const std::wstring& fontFile,
                              float size) {
    engine = platform::CreatePangoTextEngine();
    cache_.clear();
    std::string error;
    if (!fontFile.empty()) {
        std::error_code code;
        auto full = std::filesystem::absolute(platform::WideToUtf8(fontFile), code);
        std::string path = code ? platform::WideToUtf8(fontFile) : full.string();
        // A font that cannot be added is not fatal: the family falls back.
        if (engine->AddFontFile(path, &error)) fontPath = platform::Utf8ToWide(path);
    }
    std::wstring families = family;
    if (families.find(kFallbackFamily) == std::wstring::npos)
        families += std::wstring(families.empty() ? L"" : L",") + kFallbackFamily;
    if (!engine->SetFont(platform::WideToUtf8(families), size, &error)) {
        GraphicsDevice::Get().lastError = "cannot set up the text font: " + error;
        engine.reset();
        return false;
    }
    engine->SetLineMetrics(size * kLineAdvanceEm, size * kFirstBaselineEm);
    brush.SetColor({0, 0, 0, 1});
    return true;
}

void TextRenderer::RemoveFont() {
    if (engine && !fontPath.empty()) engine->RemoveFontFiles();
    fontPath.clear();
}

// Opens the text batch when there is a GPU and a font; else strings are only observed.
void TextRenderer::BeginPass() {
    ++pass_;
    platform::Gpu* gpu = GraphicsDevice::Get().gpu.get();
    if (!gpu || !engine || inPass_) return;
    if (!batch_) {
        batch_ = std::make_unique<DirectX::SpriteBatch>(*gpu);
        states_ = std::make_unique<DirectX::CommonStates>(*gpu);
    }
    batch_->Begin(DirectX::SpriteSortMode_Deferred, states_->AlphaBlend());
    inPass_ = true;
}

void TextRenderer::EndPass() {
    if (!inPass_) return;
    inPass_ = false;
    batch_->End();
    Evict();
}

// The cached layout of text at width, rasterised and uploaded on a miss.
const TextRenderer::CachedText* TextRenderer::Demand(const std::wstring& text, float width) {
    std::wstring key = text;
    key.push_back(L'\0');
    key.append(std::to_wstring(width));
    auto it = cache_.find(key);
    if (it == cache_.end()) {
        platform::TextBitmap bitmap = engine->Render(platform::WideToUtf8(text), width);
        ++layoutsMade_;
        CachedText entry;
        entry.x = bitmap.x;
        entry.y = bitmap.y;
        if (bitmap.width > 0) {
            entry.texture = GraphicsDevice::Get().gpu->CreateTexture(
                bitmap.width, bitmap.height, platform::PixelFormat::BGRA8, bitmap.bgra.data(),
                false, nullptr);
        }
        it = cache_.emplace(std::move(key), std::move(entry)).first;
    }
    it->second.lastPass = pass_;
    return &it->second;
}

void TextRenderer::DrawString(std::wstring text) {
    if (observer) observer(TextCall{text, layoutRect, brush.color});
    if (record) {
        record->texts.push_back(TextCall{std::move(text), layoutRect, brush.color});
        return;
    }
    if (inPass_) Submit(text, layoutRect, brush.color);
}

void TextRenderer::Draw(const FrameRecord& frame) {
    BeginPass();
    if (inPass_)
        for (const TextCall& call : frame.texts) Submit(call.text, call.rect, call.color);
    EndPass();
}

void TextRenderer::Submit(const std::wstring& text, const LayoutRect& rect, const Color4& c) {
    const CachedText* cached = Demand(text, rect.right - rect.left);
    if (!cached->texture) return;
    // The texture holds premultiplied white coverage, so the tint is premultiplied too.
    DirectX::Color tint{c.r * c.a, c.g * c.a, c.b * c.a, c.a};
    DirectX::Vector2 at{std::floor(rect.left + 0.5f) + float(cached->x),
                        std::floor(rect.top + 0.5f) + float(cached->y)};
    batch_->Draw(cached->texture, at, nullptr, tint, 0, {0, 0}, 1);
}

// Drops layouts not drawn lately, so strings that change every frame do not pile up.
void TextRenderer::Evict() {
    for (auto it = cache_.begin(); it != cache_.end();) {
        if (pass_ - it->second.lastPass > kKeepPasses)
            it = cache_.erase(it);
        else
            ++it;
    }
}

void TextRenderer::ReleaseDeviceResources() {
    if (inPass_ && batch_) {
        try {
            batch_->End();
        } catch (const std::exception&) {
            // The pass is abandoned with the device.
        }
    }
    inPass_ = false;
    cache_.clear();
    batch_.reset();
    states_.reset();
}

void DrawTextBlock(const std::wstring& text, LayoutRect rect, const Color4& color) {
    TextRenderer& renderer = TextRenderer::Get();
    renderer.layoutRect = rect;
    renderer.brush.SetColor(color);
    renderer.DrawString(text);
}
