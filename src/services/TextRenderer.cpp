// TextRenderer: placeholder until the text engine lands; only the observer sees strings.
#include "services/TextRenderer.h"

#include "platform/TextEngine.h"

TextRenderer& TextRenderer::Get() {
    static TextRenderer renderer;
    return renderer;
}
bool TextRenderer::Initialize(const std::wstring&, const std::wstring&, float) { return true; }
void TextRenderer::DrawString(std::wstring text) {
    if (observer) observer(TextCall{std::move(text), layoutRect, brush.color});
}
void TextRenderer::RemoveFont() {}
