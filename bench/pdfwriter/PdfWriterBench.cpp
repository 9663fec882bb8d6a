// Writing a two-page document with 500 short Japanese texts and 200
// rectangles into memory, the size of a filled-in plan.

#include "pdfwriter/PdfDoc.h"

#include "plan/Cp932.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

void drawBox(TPdfCanvas &c, float x0, float y0, float x1, float y1)
{
    c.SetDash({0}, 0);
    c.MoveTo(x0, y0);
    c.LineTo(x1, y0);
    c.LineTo(x1, y1);
    c.LineTo(x0, y1);
    c.SetRGBStrokeColor(0);
    c.SetLineWidth(0);
    c.ClosePathStroke();
}

void BM_TwoPageJapaneseDocument(benchmark::State &state)
{
    const std::array<std::string, 5> texts = {
        cp932::fromUtf8("氏名"), cp932::fromUtf8("要介護３"), cp932::fromUtf8("平成15年 4月 1日"),
        cp932::fromUtf8("つたい・もたれ"), cp932::fromUtf8("歩行器（屋内）"),
    };
    std::size_t bytes = 0;
    for (auto _ : state) {
        TPdfDoc doc;
        doc.SetClock([] { return 45000.5; });
        doc.NewDoc();
        doc.Root().SetPageMode(pmUseNone);
        doc.Root().SetPageLayout(plSinglePage);
        doc.Info().SetAuthor(cp932::fromUtf8("Ｒ１．０"));
        doc.Info().SetSubject(cp932::fromUtf8("ＲＩＨＡ"));
        for (int page = 0; page < 2; ++page) {
            doc.AddPage();
            TPdfCanvas &c = doc.Canvas();
            for (int i = 0; i < 250; ++i) {
                const float left = static_cast<float>(30 + (i % 5) * 100);
                const float top = static_cast<float>(810 - (i / 5) * 15);
                c.SetFont(page == 1 && i == 0 ? "Gothic,Bold" : "Gothic", 9);
                c.SetRGBFillColor(0);
                c.SetCharSpace(0);
                c.SetWordSpace(0);
                if (i % 2 == 0) {
                    c.TextRect({left, top, left + 95, top - 14}, texts[i % texts.size()], paLeftJustify, false);
                } else {
                    c.SetLeading(14);
                    c.MultilineTextRect({left, top, left + 95, top - 14}, texts[i % texts.size()], false);
                }
            }
            for (int i = 0; i < 100; ++i) {
                const float left = static_cast<float>(30 + (i % 5) * 100);
                const float top = static_cast<float>(812 - (i / 5) * 38);
                drawBox(c, left, top, left + 99, top - 37);
            }
        }
        std::string pdf = doc.SaveToString();
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TwoPageJapaneseDocument)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
