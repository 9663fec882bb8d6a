// The plan drawn through the painter at 72 dots per inch, one pixel a
// point: every dark pixel lies in a box of the layout (a text item's box or
// a rectangle's outline), the name's words stand apart by the half-width
// space, and a text too long for its box is cut at the box's edge.

#include "FullPlan.h"

#include "painter/PlanPainter.h"
#include "pdfwriter/PdfDoc.h"
#include "plan/Cp932.h"
#include "report/PrintFormatUnit.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

QImage drawPage(const TPRACTDATA &plan, int page)
{
    QImage image(596, 842, QImage::Format_RGB32);
    image.fill(Qt::white);
    PlanPainter painter;
    painter.setPlan(plan);
    QPainter p(&image);
    painter.paintPage(p, page);
    return image;
}

bool ink(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 160;
}

// Boxes of a page in page pixels: text items whole, rectangles as their
// outline, each widened by one pixel for antialiased edges.
struct Boxes {
    std::vector<QRect> texts;
    std::vector<QRect> rects;

    bool holds(int x, int y) const
    {
        for (const QRect &r : texts) {
            if (r.adjusted(-1, -1, 1, 1).contains(x, y)) {
                return true;
            }
        }
        for (const QRect &r : rects) {
            const QRect inside = r.adjusted(2, 2, -2, -2);
            if (r.adjusted(-1, -1, 1, 1).contains(x, y) && !(inside.isValid() && inside.contains(x, y))) {
                return true;
            }
        }
        return false;
    }
};

// A label is not clipped: the file shows its whole caption from its left
// edge, so its box reaches as far as the caption's width when that is wider.
Boxes layoutBoxes(const TPRACTDATA &plan, int page)
{
    TPrintFormatForm form;
    form.PlanData = plan;
    form.FillItems();
    TPdfDoc measure;
    measure.NewDocForMeasuring();
    Boxes boxes;
    for (const TPRItem *item : form.PageItems(page)) {
        QRect r(item->Parent()->Left() + item->Left(), item->Parent()->Top() + item->Top(), item->Width(),
                item->Height());
        if (const auto *label = dynamic_cast<const TPRLabel *>(item)) {
            measure.Canvas().SetFont(label->InternalFontName(), static_cast<float>(label->FontSize()));
            r.setWidth(std::max(r.width(), static_cast<int>(std::ceil(measure.Canvas().TextWidth(label->Caption)))));
        }
        (dynamic_cast<const TPRRect *>(item) != nullptr ? boxes.rects : boxes.texts).push_back(r);
    }
    return boxes;
}

// Dark pixels that no box holds, described for the failure message.
std::string strayInk(const QImage &image, const Boxes &boxes)
{
    std::ostringstream stray;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (ink(image, x, y) && !boxes.holds(x, y) && ++count <= 10) {
                stray << " (" << x << "," << y << ")";
            }
        }
    }
    return count == 0 ? std::string() : std::to_string(count) + " pixels outside every box:" + stray.str();
}

int inkIn(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += ink(image, x, y) ? 1 : 0;
        }
    }
    return count;
}

TPRACTDATA planWithSpacedName()
{
    TPRACTDATA plan = fullPlan();
    plan.Name = cp932::fromUtf8("山田 太郎");
    return plan;
}

} // namespace

TEST(PlanPainter, EveryPageHoldsItsInkInsideTheBoxesOfTheLayout)
{
    TPRACTDATA plan = planWithSpacedName();
    // A line far wider than its box: the file cuts it at the right edge.
    std::string wide;
    for (int i = 0; i < 60; ++i) {
        wide += "高";
    }
    plan.Gapei = cp932::fromUtf8(wide);
    for (int page = 1; page <= 2; ++page) {
        const QImage image = drawPage(plan, page);
        const Boxes boxes = layoutBoxes(plan, page);
        EXPECT_EQ(strayInk(image, boxes), "") << "page " << page;
        EXPECT_GT(inkIn(image, QRect(0, 0, 596, 842)), 5000) << "page " << page << " is nearly blank";
    }
}

TEST(PlanPainter, TheNameShowsItsWordsAtTheFilesPositionsWithTheSpaceBetween)
{
    // NameText: left 40, top 34, Gothic 10: 山田 over 40-60, the space over
    // 60-65, 太郎 over 65-85 on the rows of the line.
    const QImage image = drawPage(planWithSpacedName(), 1);
    EXPECT_GT(inkIn(image, QRect(41, 35, 18, 10)), 20);
    EXPECT_EQ(inkIn(image, QRect(61, 34, 3, 12)), 0);
    EXPECT_GT(inkIn(image, QRect(66, 35, 18, 10)), 20);
    EXPECT_EQ(inkIn(image, QRect(86, 34, 30, 12)), 0) << "nothing after the name";
    // Ticked boxes and their text: ExerciseBox (451, 62) shows "レ".
    EXPECT_GT(inkIn(image, QRect(451, 62, 9, 10)), 4);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
