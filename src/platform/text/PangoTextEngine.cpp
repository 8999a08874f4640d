// The text engine on Pango layouts rasterised by Cairo; fonts resolved through fontconfig.
// Depends on: platform/TextEngine.h, pangocairo, fontconfig.
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/TextEngine.h"

namespace platform {

namespace {

// Releases a GObject when it leaves scope.
struct GObjectDeleter {
    void operator()(void* object) const {
        if (object) g_object_unref(object);
    }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectDeleter>;

class PangoTextEngine : public TextEngine {
  public:
    PangoTextEngine() { Rebuild(); }
    ~PangoTextEngine() override {
        if (font_) pango_font_description_free(font_);
    }

    bool SetFont(const std::string& families, float pixelSize, std::string* error) override;
    bool AddFontFile(const std::string& path, std::string* error) override;
    void RemoveFontFiles() override;
    void SetLineMetrics(float advance, float firstBaseline) override;
    TextLayoutInfo Measure(const std::string& utf8, float width) override;
    TextBitmap Render(const std::string& utf8, float width) override;

  private:
    void Rebuild();
    GPtr<PangoLayout> MakeLayout(const std::string& utf8, float width, int* shiftX, int* shiftY);

    GPtr<PangoFontMap> fontMap_;
    GPtr<PangoContext> context_;
    PangoFontDescription* font_ = nullptr;
    int lineAdvance_ = 0;    // Pango units; 0 keeps the font's line height
    int firstBaseline_ = 0;  // Pango units; 0 keeps the font's ascent
};

// A fresh font map and context, so fonts added or removed since are seen.
void PangoTextEngine::Rebuild() {
    context_.reset();
    fontMap_.reset(pango_cairo_font_map_new());
    context_.reset(pango_font_map_create_context(fontMap_.get()));
    pango_context_set_language(context_.get(), pango_language_from_string("ja"));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context_.get(), options);
    cairo_font_options_destroy(options);
}

bool PangoTextEngine::SetFont(const std::string& families, float pixelSize, std::string* error) {
    if (!(pixelSize > 0)) {
        if (error) *error = "font size must be positive";
        return false;
    }
    if (font_) pango_font_description_free(font_);
    font_ = pango_font_description_new();
    pango_font_description_set_family(font_, families.c_str());
    pango_font_description_set_weight(font_, PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font_, PANGO_STYLE_NORMAL);
    pango_font_description_set_stretch(font_, PANGO_STRETCH_NORMAL);
    pango_font_description_set_absolute_size(font_, double(pixelSize) * PANGO_SCALE);
    return true;
}

bool PangoTextEngine::AddFontFile(const std::string& path, std::string* error) {
    auto file = reinterpret_cast<const FcChar8*>(path.c_str());
    if (!FcConfigAppFontAddFile(FcConfigGetCurrent(), file)) {
        if (error) *error = "cannot add font file " + path;
        return false;
    }
    Rebuild();
    return true;
}

void PangoTextEngine::RemoveFontFiles() {
    FcConfigAppFontClear(FcConfigGetCurrent());
    Rebuild();
}

void PangoTextEngine::SetLineMetrics(float advance, float firstBaseline) {
    lineAdvance_ = advance > 0 ? int(std::lround(advance * PANGO_SCALE)) : 0;
    firstBaseline_ = firstBaseline > 0 ? int(std::lround(firstBaseline * PANGO_SCALE)) : 0;
}

// A layout of utf8: centred, word-wrapped at width; with no width, shiftX centres it on 0..width.
// Lines are lineAdvance_ apart; shiftY (Pango units) moves the first baseline to firstBaseline_.
GPtr<PangoLayout> PangoTextEngine::MakeLayout(const std::string& utf8, float width, int* shiftX,
                                              int* shiftY) {
    GPtr<PangoLayout> layout(pango_layout_new(context_.get()));
    if (font_) pango_layout_set_font_description(layout.get(), font_);
    pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_text(layout.get(), utf8.c_str(), int(utf8.size()));
    if (lineAdvance_ > 0) {
        // An absolute line height gives every line, empty ones too, the same logical height.
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_line_height_new_absolute(lineAdvance_));
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    *shiftX = 0;
    if (width >= 1) {
        pango_layout_set_width(layout.get(), int(width * PANGO_SCALE));
    } else {
        PangoRectangle logical;
        pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
        *shiftX = int((width - float(logical.width)) / 2);
    }
    *shiftY = firstBaseline_ > 0 ? firstBaseline_ - pango_layout_get_baseline(layout.get()) : 0;
    return layout;
}

TextLayoutInfo PangoTextEngine::Measure(const std::string& utf8, float width) {
    int shiftX = 0, shiftY = 0;
    auto layout = MakeLayout(utf8, width, &shiftX, &shiftY);
    TextLayoutInfo info;
    PangoLayoutIter* iter = pango_layout_get_iter(layout.get());
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        logical.y += shiftY;
        const int baseline = pango_layout_iter_get_baseline(iter) + shiftY;
        pango_extents_to_pixels(&logical, nullptr);
        info.lines.push_back({float(logical.x + shiftX), float(logical.y), float(logical.width),
                              float(logical.height), float(baseline) / PANGO_SCALE});
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return info;
}

// Draws the layout in white into a surface just covering its ink.
TextBitmap PangoTextEngine::Render(const std::string& utf8, float width) {
    int shiftX = 0, shiftY = 0;
    auto layout = MakeLayout(utf8, width, &shiftX, &shiftY);
    PangoRectangle ink;
    pango_layout_get_extents(layout.get(), &ink, nullptr);
    ink.y += shiftY;
    pango_extents_to_pixels(&ink, nullptr);
    TextBitmap bitmap;
    if (ink.width <= 0 || ink.height <= 0) return bitmap;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, ink.width, ink.height);
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, -ink.x, -ink.y);
    cairo_move_to(cr, 0, double(shiftY) / PANGO_SCALE);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    pango_cairo_show_layout(cr, layout.get());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    bitmap.x = ink.x + shiftX;
    bitmap.y = ink.y;
    bitmap.width = ink.width;
    bitmap.height = ink.height;
    bitmap.bgra.resize(size_t(ink.width) * ink.height * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int row = 0; row < ink.height; ++row)
        std::memcpy(&bitmap.bgra[size_t(row) * ink.width * 4], data + size_t(row) * stride,
                    size_t(ink.width) * 4);
    cairo_surface_destroy(surface);
    return bitmap;
}

}  // namespace

std::unique_ptr<TextEngine> CreatePangoTextEngine() { return std::make_unique<PangoTextEngine>(); }

}  // namespace platform
