#include "render/Renderer.h"

#include "lcd/BaseLetter.h"
#include "platform/Player.h"
#include "platform/RefreshTick.h"
#include "render/BarPicture.h"
#include "render/ChangedArea.h"
#include "render/DrawIntoImage.h"
#include "render/ElementDescriptors.h"
#include "render/Font5x7Text.h"
#include "render/FontTextPicture.h"
#include "render/ImageFile.h"
#include "render/LineDrawing.h"
#include "render/RgbPixelImage.h"
#include "render/SplitLine.h"
#include "vars/Format.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <limits>
#include <memory>

namespace dotvane {
namespace {

// The ageing step writes one entry past the point count, so the count must
// stay two below the history's length.
constexpr int32_t kMaxPointCount = static_cast<int32_t>(std::tuple_size_v<decltype(Renderer::GraphHistory)>) - 2;

// Rounds half up to a pixel row. Points above the box (negative rows) round
// the same way as the others, so value 90 in a 50-pixel box lands on row -25.
int32_t RoundToRow(double row)
{
    return static_cast<int32_t>(std::clamp(std::floor(row + 0.5), double(std::numeric_limits<int32_t>::min()),
                                           double(std::numeric_limits<int32_t>::max())));
}

// A coordinate worked out in 64 bits, held to what a line can take.
int32_t ToCoordinate(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Whether a character leaves its text cell empty: a blank or a no-break
// space, or the end of the text.
bool IsBlankCell(char c) { return c == '\0' || BaseLetter(static_cast<uint8_t>(c)) == ' '; }

// The player window's reply to a query; 0 without a player.
int32_t AskPlayer(int32_t data, int32_t command)
{
    platform::Player& player = platform::PlayerService::Current();
    return player.FindWindow() ? player.SendQuery(data, command) : 0;
}

// Any picture the image decoder takes, within the image files' limits, as
// the drivers read it.
class LoadedPicture : public PixelImage {
public:
    explicit LoadedPicture(RgbImage image) : image_(std::move(image)), pixels_(image_) {}
    int32_t Width() const override { return pixels_.Width(); }
    int32_t Height() const override { return pixels_.Height(); }
    TColor Pixel(int32_t x, int32_t y) const override { return pixels_.Pixel(x, y); }

private:
    RgbImage image_;
    RgbPixelImage pixels_;
};

std::unique_ptr<PixelImage> LoadPicture(const std::string& fileName)
{
    platform::DecodedImage decoded = LoadImageFile(fileName);
    if (decoded.Picture.IsNull()) return nullptr;
    return std::make_unique<LoadedPicture>(std::move(decoded.Picture));
}

}  // namespace

Renderer::Renderer(RenderState state, Display& display, const VariableContext& variables, Notices& notices)
    : state_(state), display_(display), variables_(variables), notices_(notices)
{
}

const ScreenEntry& Renderer::CurrentEntry() const
{
    return state_.ScreenTable[static_cast<size_t>(std::clamp(state_.CurrentScreen, 0, ScreenCount - 1))];
}

void Renderer::ForgetShownText()
{
    for (std::string& row : state_.ShownText) row.clear();
    for (std::string& row : shownCells_) row.clear();
}

void Renderer::WriteCells(int32_t column, int32_t row, std::string_view text)
{
    display_.SetTextPosition(column, row);
    display_.WriteText(text);
    std::string& cells = shownCells_[static_cast<size_t>(row)];
    const size_t end = std::min(text.find('\0'), text.size());
    if (cells.size() < size_t(column) + end) cells.resize(size_t(column) + end, ' ');
    const bool blanksErase = display_.BlanksErase();
    for (size_t i = 0; i < end; ++i)
        if (!IsBlankCell(text[i]))
            cells[size_t(column) + i] = text[i];
        else if (blanksErase)
            cells[size_t(column) + i] = ' ';
}

void Renderer::ClearStaleCells(int rows, int columns)
{
    for (int row = 0; row <= rows && row < int(shownCells_.size()); ++row) {
        std::string& shown = shownCells_[static_cast<size_t>(row)];
        // What the virtual display shows in this row: the row's own text,
        // and where that has a blank, the tail of the long line above.
        std::string wanted(shown.size(), ' ');
        // Only what precedes a NUL is ever written.
        auto lay = [&wanted](size_t column, std::string_view text) {
            text = text.substr(0, text.find('\0'));
            for (size_t i = 0; i < text.size() && column + i < wanted.size(); ++i)
                if (!IsBlankCell(text[i])) wanted[column + i] = text[i];
        };
        if (row > 0 && row - 1 < rows) {
            const SplitText above = SplitLine(state_.LineText[size_t(row - 1)], columns);
            if (above.hasTail) lay(1, above.tail);
        }
        if (row < rows) lay(0, SplitLine(state_.LineText[size_t(row)], columns).head);
        for (size_t column = 0; column < shown.size();) {
            size_t end = column;
            while (end < shown.size() && !IsBlankCell(shown[end]) && IsBlankCell(wanted[end])) ++end;
            if (end == column) {
                ++column;
                continue;
            }
            display_.ClearCells(int32_t(column), row, int32_t(end - column));
            std::fill(shown.begin() + long(column), shown.begin() + long(end), ' ');
            column = end;
        }
    }
}

void Renderer::RefreshScreen()
{
    const auto refreshing = refreshing_.Enter();
    if (!refreshing) return;
    // Every refresh is a tick of the sources, also one of a screen change.
    const platform::RefreshTick tick;

    const TMainSettings& settings = state_.MainSettings;
    if (state_.WindowShown) PrepareVirtualDisplay();

    RowTexts& LineText = state_.LineText;
    RowTexts& ShownText = state_.ShownText;
    const int rows = std::clamp(settings.LCD.TextRows, 0, kRowCount);
    const ScreenEntry& screen = CurrentEntry();
    ExpansionBudget budget(settings);
    for (int k = 0; k < rows; ++k) LineText[k] = ExpandLine(screen.Line[k], variables_, budget);
    // A screen over the caps is told once, not at every refresh.
    if (budget.Cut() && cutScreenTold_ != state_.CurrentScreen) {
        cutScreenTold_ = state_.CurrentScreen;
        notices_.SetStatusText(ExpansionBudget::CutNotice(state_.CurrentScreen));
    }

    bool written = false;
    for (int k = 0; k < rows; ++k) {
        if (LineText[k] == ShownText[k]) continue;
        written = true;
        const SplitText split = SplitLine(LineText[k], settings.LCD.TextColumns);
        WriteCells(0, k, split.head);
        if (split.hasTail) WriteCells(1, k + 1, split.tail);
    }
    for (int k = 0; k < rows; ++k) ShownText[k] = LineText[k];
    if (written) ClearStaleCells(rows, settings.LCD.TextColumns);

    DrawIcons();
    DrawGraphics();

    if (state_.WindowShown) {
        DrawVirtualText();
        PresentVirtualDisplay();
    }
}

void Renderer::ShowScreenBitmap(const std::string& fileName)
{
    const std::string failure = "Could not load or display bitmap " + fileName;
    try {
        // Each showing draws a fresh dither pattern.
        const auto seed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        if (!display_.DrawScreenBitmap(fileName, LoadPicture, seed)) notices_.ShowMessage(failure);
    } catch (const std::exception&) {
        notices_.ShowMessage(failure);
    }
}

void Renderer::DrawIcons()
{
    for (const std::string& icon : CurrentEntry().Icon)
        if (!icon.empty()) DrawIconElement(icon);
}

void Renderer::DrawIconElement(const std::string& descriptor)
{
    const IconDescriptor icon = ParseIconDescriptor(descriptor);
    switch (icon.kind) {
    case IconDescriptor::Kind::PlayerState:
        return DrawPlayerStateIcon(icon.x, icon.y);
    case IconDescriptor::Kind::Channel:
        return DrawChannelIcon(icon.x, icon.y);
    case IconDescriptor::Kind::File:
        return DrawIconFile(icon.x, icon.y, icon.file);
    }
}

void Renderer::DrawPlayerStateIcon(int32_t x, int32_t y)
{
    switch (AskPlayer(0, platform::kPlayerGetStatus)) {
    case platform::kPlayerPlaying:
        return DrawIconFile(x, y, "images\\play.bmp");
    case platform::kPlayerPaused:
        return DrawIconFile(x, y, "images\\pause.bmp");
    default:
        return DrawIconFile(x, y, "images\\stop.bmp");
    }
}

void Renderer::DrawChannelIcon(int32_t x, int32_t y)
{
    switch (AskPlayer(platform::kPlayerInfoChannels, platform::kPlayerGetInfo)) {
    case 2:
        return DrawIconFile(x, y, "images\\stereo9x7.bmp");
    case 1:
        return DrawIconFile(x, y, "images\\mono9x7.bmp");
    default:
        return;
    }
}

void Renderer::DrawIconFile(int32_t x, int32_t y, const std::string& fileName)
{
    try {
        const RgbImage image = LoadImageFile(fileName).Picture;
        if (image.IsNull()) return notices_.ShowMessage("Could not load or display icon " + fileName);
        const RgbPixelImage pixels(image);
        if (state_.WindowShown) DrawIntoVirtualDisplay(pixels, x, y, pixels.Pixel(0, pixels.Height() - 1));
        display_.DrawIcon(pixels, x, y);
    } catch (const std::exception&) {
        notices_.ShowMessage("Could not load or display icon " + fileName);
    }
}

void Renderer::DrawGraphics()
{
    for (const std::string& graphic : CurrentEntry().Graphic)
        if (!graphic.empty()) DrawGraphicElement(graphic);
}

void Renderer::DrawGraphicElement(const std::string& descriptor)
{
    const GraphicDescriptor element = ParseGraphicDescriptor(descriptor);
    switch (element.kind) {
    case GraphicDescriptor::Kind::Bar:
        return DrawBarElement(element);
    case GraphicDescriptor::Kind::Graph: {
        const auto& [x1, y1, x2, y2] = element.numbers;
        return DrawGraph(x1, y1, x2, y2, ReadWholeNumber(ExpandVariable(element.last, variables_)));
    }
    case GraphicDescriptor::Kind::Text:
        return DrawTextElement(element);
    case GraphicDescriptor::Kind::None:
        return;
    }
}

void Renderer::DrawBarElement(const GraphicDescriptor& bar)
{
    const auto& [x, y, height, width] = bar.numbers;
    const int32_t length = ReadWholeNumber(ExpandVariable(bar.last, variables_));
    if (!display_.TakesElements()) return;
    const TMainSettings& settings = state_.MainSettings;
    const BarPicture picture(width, height, length, StringToColor(settings.VLCD.BackColor),
                             StringToColor(settings.VLCD.TextColor));
    DrawIntoVirtualDisplay(picture, x, y, std::nullopt);
    display_.DrawBar(picture, x, y, height, width);
}

void Renderer::DrawTextElement(const GraphicDescriptor& element)
{
    const int32_t x = element.numbers[0], y = element.numbers[1], fontIndex = element.numbers[2];
    // A font index the table does not have draws nothing.
    if (!display_.TakesElements() || fontIndex < 0 || fontIndex >= FontCount) return;
    const std::string& content = element.last;
    std::string text;
    if (content.starts_with('"'))
        text = content.size() >= 2 ? content.substr(1, content.size() - 2) : std::string();
    else if (content.starts_with('$'))
        text = ExpandVariable(content.size() >= 2 ? std::string_view(content).substr(1, content.size() - 2) : "",
                              variables_);
    else
        return;
    const FontEntry& font = state_.FontTable[static_cast<size_t>(fontIndex)];
    const TColor ink = display_.FontTextInk();
    // Its pixels are worked out only where the displays read them, and the
    // displays read only what lies on them.
    const FontTextPicture picture(text, font.Name, font.Size, font.Invert ? ink : clWhite, font.Invert ? clWhite : ink);
    // On the virtual display uncut, with the background (or, inverted,
    // white) left transparent.
    if (state_.WindowShown && picture.Width() != 0) {
        const TColor transparent = font.Invert ? clWhite : picture.Pixel(0, picture.Height() - 1);
        DrawIntoVirtualDisplay(picture, x, y, transparent);
    }
    display_.DrawFontText(picture, x, y, font.CutTop, font.CutLeft);
}

void Renderer::DrawGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value)
{
    const int64_t boxWidth = int64_t{x2} - x1;
    const int64_t boxHeight = int64_t{y2} - y1;
    const int64_t maxPoints = std::min<int64_t>(boxWidth / 5, kMaxPointCount);

    RgbImage& image = VlcdBitmap.image;
    const RgbPixel axes = PixelOf(VlcdBitmap.penColor);
    DrawLine(image, x2, y1, x2, y2, axes);
    DrawLine(image, x2, y2, x1, y2, axes);

    GraphHistory[0] = RoundToRow(y2 - double(value) * (1.0 / 60.0) * double(boxHeight));
    VlcdBitmap.penColor = clBlack;

    // The series from the newest point on the right edge to the oldest, as
    // one pen moving from point to point.
    int32_t fromX = x2, fromY = GraphHistory[0];
    for (int32_t i = 0; i <= GraphPointCount; ++i) {
        const int32_t toX = ToCoordinate(int64_t{x2} - 5 * int64_t{i}), toY = GraphHistory[i];
        DrawLine(image, fromX, fromY, toX, toY, PixelOf(clBlack));
        fromX = toX;
        fromY = toY;
    }

    for (int32_t i = GraphPointCount; i >= 0; --i) GraphHistory[i + 1] = GraphHistory[i];
    GraphPointCount = static_cast<int32_t>(std::min<int64_t>(int64_t{GraphPointCount} + 1, maxPoints));
}

void Renderer::PrepareVirtualDisplay()
{
    const TMainSettings& MainSettings = state_.MainSettings;
    const int32_t width = VirtualDisplayWidth(MainSettings);
    const int32_t height = VirtualDisplayHeight(MainSettings);
    RgbImage& image = VlcdBitmap.image;
    if (image.Width() != width || image.Height() != height) image = RgbImage(width, height);
    image.Fill(PixelOf(StringToColor(MainSettings.VLCD.BackColor)));

    VlcdBitmap.penColor = StringToColor(MainSettings.VLCD.BmpColor);
    const std::string& file = CurrentEntry().Bitmap;
    if (file.empty()) return;
    screenBitmap_.Update(file, width, height);
    screenBitmap_.DrawInto(image, PixelOf(VlcdBitmap.penColor));
}

void Renderer::DrawVirtualText()
{
    const TMainSettings& MainSettings = state_.MainSettings;
    RgbImage& image = VlcdBitmap.image;
    if (image.IsNull()) return;
    const RgbPixel color = PixelOf(StringToColor(MainSettings.VLCD.TextColor));
    const int rows = std::clamp(MainSettings.LCD.TextRows, 0, kRowCount);
    for (int k = 0; k < rows; ++k) {
        const SplitText split = SplitLine(state_.LineText[k], MainSettings.LCD.TextColumns);
        DrawFontText5x7(image, 0, 8 * k, split.head, color);
        if (split.hasTail) DrawFontText5x7(image, 7, 8 * k + 8, split.tail, color);
    }
}

void Renderer::PresentVirtualDisplay()
{
    const Rect changed = ChangedArea(presented_, VlcdBitmap.image);
    if (changed.IsEmpty()) return;
    presented_ = VlcdBitmap.image;
    if (presentHandler_) presentHandler_(presented_, changed);
}

void Renderer::FreeVirtualDisplay() { VlcdBitmap.image = RgbImage(); }

void Renderer::SetPresentHandler(PresentHandler handler) { presentHandler_ = std::move(handler); }

void Renderer::DrawIntoVirtualDisplay(const PixelImage& image, int32_t x, int32_t y,
                                      std::optional<TColor> transparent)
{
    DrawIntoImage(VlcdBitmap.image, image, x, y, transparent);
}

}  // namespace dotvane
