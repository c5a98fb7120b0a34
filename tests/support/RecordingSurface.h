#pragma once

#include "core/reports/PrintSurface.h"

#include <QtGui>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tepa::test {

// A print surface that records what is drawn, page by page; text widths are the real font's.
class RecordingSurface : public PrintSurface
{
public:
    struct Font
    {
        std::string name;
        int points = 0;
        bool bold = false;
    };
    struct Text
    {
        int page = 1, x = 0, y = 0;
        std::string text;
        Font font;
        int width = 0;
    };
    struct Bitmap
    {
        int page = 1;
        std::filesystem::path file;
        int left = 0, top = 0, width = 0, height = 0;
    };

    explicit RecordingSurface(int dpi = 600)
        : m_dpi(dpi)
    {}

    int verticalDpi() const override { return m_dpi; }
    void setFont(const std::string& name, int points, bool bold) override { m_font = {name, points, bold}; }
    void drawText(int x, int y, const std::string& text) override
    {
        texts.push_back({pages, x, y, text, m_font, textWidth(text)});
    }
    int textWidth(const std::string& text) override
    {
        QFont font(QString::fromStdString(m_font.name));
        font.setPointSize(m_font.points);
        font.setBold(m_font.bold);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setKerning(false);
        QImage device(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(std::lround(m_dpi / 0.0254));
        device.setDotsPerMeterX(dotsPerMeter);
        device.setDotsPerMeterY(dotsPerMeter);
        return static_cast<int>(
            std::lround(QFontMetricsF(font, &device).horizontalAdvance(QString::fromStdString(text))));
    }
    Status loadBitmap(const std::filesystem::path& file) override
    {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return Error{fileOpenError(file)};
        m_bitmap = file;
        return Done{};
    }
    void drawBitmap(int left, int top, int width, int height) override
    {
        bitmaps.push_back({pages, m_bitmap, left, top, width, height});
    }
    void newPage() override { ++pages; }

    const Text* find(const std::string& text) const
    {
        for (const auto& t : texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }
    std::vector<Text> texts;
    std::vector<Bitmap> bitmaps;
    int pages = 1;

private:
    int m_dpi;
    Font m_font;
    std::filesystem::path m_bitmap;
};

} // namespace tepa::test
