// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ResponseReport.h"

#include "tools/WholeFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

// Plot geometry in SVG user units (pixels).
constexpr double kWidth = 800.0;
constexpr double kHeight = 470.0;
constexpr double kLeft = 70.0;
constexpr double kRight = 775.0;
constexpr double kTop = 50.0;
constexpr double kBottom = 374.0;
constexpr double kLowHz = 20.0;
constexpr double kHighHz = 20000.0;
constexpr double kRangeDb = 18.0;
constexpr double kGridDb = 3.0;

double X(double hz)
{
    return kLeft + (kRight - kLeft) * std::log10(hz / kLowHz) / std::log10(kHighHz / kLowHz);
}

double Y(double db)
{
    return kTop + (kBottom - kTop) * (kRangeDb - db) / (2.0 * kRangeDb);
}

std::string Format(const char* format, double a, double b = 0.0, double c = 0.0, double d = 0.0)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

std::string EscapeXml(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '&': escaped += "&amp;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string Line(double x1, double y1, double x2, double y2, const char* style)
{
    return Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" ", x1, y1, x2, y2) + style + "/>\n";
}

std::string Text(double x, double y, const char* anchor, const std::string& text, const char* extra = "")
{
    return Format("<text x=\"%.1f\" y=\"%.1f\" ", x, y) + "text-anchor=\"" + anchor + "\"" + extra + ">" +
           EscapeXml(text) + "</text>\n";
}

// The plot's rectangle: the curve's clip and the frame drawn around it.
std::string PlotArea(const char* style)
{
    return Format("<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\"", kLeft, kTop, kRight - kLeft, kBottom - kTop) +
           style + "/>";
}

std::string FrequencyLabel(double hz)
{
    return hz >= 1000.0 ? Format("%gk", hz / 1000.0) : Format("%g", hz);
}

std::string GainLabel(double db)
{
    // A true minus sign reads better than a hyphen in a scale.
    return db > 0.0 ? Format("+%g", db) : db < 0.0 ? "\u2212" + Format("%g", -db) : "0";
}

} // namespace

std::optional<ResponseFormat> ResponseFormatOf(const std::string& path)
{
    if (path.size() < 5)
        return std::nullopt;
    std::string extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".svg")
        return ResponseFormat::kSvg;
    if (extension == ".csv")
        return ResponseFormat::kCsv;
    return std::nullopt;
}

std::string ResponseCsv(const std::vector<ResponsePoint>& points)
{
    std::string csv = "frequency_hz,gain_db\n";
    for (const ResponsePoint& point : points)
        csv += Format("%.3f,%.4f\n", point.hz, point.db);
    return csv;
}

std::string ResponseSvg(const std::vector<ResponsePoint>& points, const std::string& caption)
{
    std::string svg = Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" "
                             "viewBox=\"0 0 %g %g\" ",
                             kWidth, kHeight, kWidth, kHeight) +
                      "font-family=\"DejaVu Sans, sans-serif\" font-size=\"13\" fill=\"#222\">\n";
    svg += Format("<rect width=\"%g\" height=\"%g\" fill=\"#fff\"/>\n", kWidth, kHeight);
    svg += "<clipPath id=\"plot\">" + PlotArea("") + "</clipPath>\n";
    svg += Text(kLeft, 30.0, "start", "KELDRA magnitude response (left channel)",
                " font-size=\"16\" font-weight=\"bold\"");

    // Frequency grid: every 1-2-5 step labelled, the steps between them faint.
    for (double decade = 10.0; decade <= kHighHz; decade *= 10.0) {
        for (int m = 1; m <= 9; ++m) {
            const double hz = decade * m;
            if (hz < kLowHz || hz > kHighHz)
                continue;
            const bool major = m == 1 || m == 2 || m == 5;
            svg += Line(X(hz), kTop, X(hz), kBottom, major ? "stroke=\"#c8c8c8\"" : "stroke=\"#ececec\"");
            if (major) {
                svg += Line(X(hz), kBottom, X(hz), kBottom + 5.0, "stroke=\"#444\"");
                svg += Text(X(hz), kBottom + 20.0, "middle", FrequencyLabel(hz));
            }
        }
    }
    // Gain grid every 3 dB, the 0 dB line darker.
    for (double db = -kRangeDb; db <= kRangeDb; db += kGridDb) {
        svg += Line(kLeft, Y(db), kRight, Y(db), db == 0.0 ? "stroke=\"#808080\"" : "stroke=\"#d8d8d8\"");
        svg += Line(kLeft - 5.0, Y(db), kLeft, Y(db), "stroke=\"#444\"");
        svg += Text(kLeft - 9.0, Y(db) + 4.5, "end", GainLabel(db));
    }
    svg += PlotArea(" fill=\"none\" stroke=\"#444\"") + "\n";

    svg += "<polyline clip-path=\"url(#plot)\" fill=\"none\" stroke=\"#1f5fbf\" stroke-width=\"2.4\" "
           "stroke-linejoin=\"round\" points=\"";
    for (const ResponsePoint& point : points) {
        // Far outside the plot the curve only needs to leave it.
        const double db = std::clamp(point.db, -10.0 * kRangeDb, 10.0 * kRangeDb);
        svg += Format("%.2f,%.2f ", X(point.hz), Y(db));
    }
    svg += "\"/>\n";

    svg += Text((kLeft + kRight) / 2.0, kBottom + 42.0, "middle", "Frequency (Hz)");
    svg += Format("<text transform=\"translate(20 %.1f) rotate(-90)\" text-anchor=\"middle\">Gain (dB)</text>\n",
                  (kTop + kBottom) / 2.0);
    svg += Text(kLeft, kBottom + 78.0, "start", caption, " font-size=\"12\" fill=\"#444\"");
    svg += "</svg>\n";
    return svg;
}

bool WriteResponse(const std::string& path, const std::vector<ResponsePoint>& points, const std::string& caption,
                   std::string& error)
{
    const std::string text =
        ResponseFormatOf(path) == ResponseFormat::kCsv ? ResponseCsv(points) : ResponseSvg(points, caption);
    WholeFile output(path);
    std::FILE* file = output.Open(error);
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (!written || !output.Commit()) {
        error = "cannot write " + path + " (disk full or no permission?)";
        return false;
    }
    return true;
}
