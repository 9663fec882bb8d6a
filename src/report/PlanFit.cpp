#include "report/PlanFit.h"

#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"
#include "report/PrintFormatUnit.h"

#include <algorithm>

namespace planfit {

namespace {

using planfile::PlanField;

// A layout form to fill and a document that only measures, kept per thread:
// building them costs far more than measuring one field.
struct Measure {
    Measure() { doc.NewDocForMeasuring(); }

    TPrintFormatForm form;
    TPdfDoc doc;
};

Measure &measure()
{
    thread_local Measure m;
    return m;
}

// The text block that prints `field`, or nullptr for a field printed by a
// label.
TPRText *itemOf(const TPrintFormatForm &form, const PlanField &field)
{
    return form.FindText(field.item);
}

// The rectangle Print receives for `item`: its bounds offset by every panel
// above it; and the height of its page.
TRect printRect(const TPRItem &item, int &pageHeight)
{
    TRect rect = item.BoundsRect();
    pageHeight = 842;
    for (const TPRControl *parent = item.Parent(); parent != nullptr; parent = parent->Parent()) {
        if (dynamic_cast<const TPRPanel *>(parent) != nullptr) {
            rect.Left += parent->Left();
            rect.Right += parent->Left();
            rect.Top += parent->Top();
            rect.Bottom += parent->Top();
        } else {
            pageHeight = parent->Height();
        }
    }
    return rect;
}

TPdfCanvas &canvasFor(const TPRItem &item, TRect &rect)
{
    int pageHeight = 0;
    rect = printRect(item, pageHeight);
    TPdfCanvas &canvas = measure().doc.Canvas();
    if (canvas.PageHeight() != pageHeight) {
        canvas.SetPageHeight(pageHeight);
    }
    return canvas;
}

// True for an empty text or one of half-width and full-width spaces only:
// spaces beyond the right edge are not worth a line of their own.
bool onlySpaces(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            continue;
        }
        if (text.substr(i, 2) == "\x81\x40") {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

// The bytes of the blank that starts at `at` (a half-width space 1, a
// full-width space 2), 0 for any other character. `at` starts a character.
std::size_t blankAt(std::string_view text, std::size_t at)
{
    if (text[at] == ' ') {
        return 1;
    }
    return text.substr(at, 2) == "\x81\x40" ? 2 : 0;
}

// A break in a printed text: where it goes, and how many bytes of a blank
// it replaces there (0: the break is inserted).
struct Break {
    std::size_t at;
    std::size_t blank;
};

// Characters no line starts with (closing brackets and quotes, stops and
// commas, the long-vowel mark, small kana, iteration marks), and those no
// line ends with (opening brackets and quotes), as CP932 characters.
// The CP932 characters of a UTF-8 text, one string each.
std::vector<std::string> charactersOf(const char *utf8)
{
    std::vector<std::string> out;
    const std::string all = cp932::fromUtf8(utf8);
    for (std::size_t i = 0; i < all.size();) {
        const std::size_t n = cp932::isLeadByte(static_cast<unsigned char>(all[i])) ? 2 : 1;
        out.push_back(all.substr(i, n));
        i += n;
    }
    return out;
}

const std::vector<std::string> &noLineStart()
{
    static const std::vector<std::string> chars = charactersOf("ー。、，．・：；？！゛゜ヽヾゝゞ々」』）〕］｝〉》】"
                                                               "ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ"
                                                               "),.!?:;]}｡｣､ｧｨｩｪｫｬｭｮｯｰﾞﾟ");
    return chars;
}

const std::vector<std::string> &noLineEnd()
{
    static const std::vector<std::string> chars = charactersOf("「『（〔［｛〈《【([{｢");
    return chars;
}

bool oneOf(const std::vector<std::string> &chars, std::string_view character)
{
    return std::find(chars.begin(), chars.end(), character) != chars.end();
}

// Where a line of `printed` that starts at `start` and is cut at `at` is
// broken: at the last blank after its start, which the break replaces (a
// blank just before the cut included); else at the last character boundary
// up to the cut that neither starts the next line with a character no line
// starts with nor ends this one with an opening bracket; else at the cut.
Break placeBreak(std::string_view printed, std::size_t start, std::size_t at)
{
    std::vector<std::size_t> bounds; // character starts from `start` to `at`
    for (std::size_t i = start; i < at;) {
        bounds.push_back(i);
        i += cp932::isLeadByte(static_cast<unsigned char>(printed[i])) && i + 1 < printed.size() ? 2 : 1;
    }
    if (const std::size_t blank = blankAt(printed, at); blank > 0 || bounds.empty()) {
        return Break{at, blank};
    }
    for (auto it = bounds.rbegin(); it != bounds.rend() && *it > start; ++it) {
        if (const std::size_t blank = blankAt(printed, *it); blank > 0) {
            return Break{*it, blank};
        }
    }
    const auto characterAt = [&](std::size_t i) {
        const std::size_t n =
            cp932::isLeadByte(static_cast<unsigned char>(printed[i])) && i + 1 < printed.size() ? 2 : 1;
        return printed.substr(i, n);
    };
    // Candidates: the cut, then each earlier boundary after the line's start.
    std::vector<std::size_t> candidates{at};
    for (auto it = bounds.rbegin(); it != bounds.rend() && *it > start; ++it) {
        candidates.push_back(*it);
    }
    for (const std::size_t candidate : candidates) {
        const auto before = std::upper_bound(bounds.begin(), bounds.end(), candidate - 1);
        const std::size_t previous = *(before - 1);
        if (!oneOf(noLineStart(), characterAt(candidate)) && !oneOf(noLineEnd(), characterAt(previous))) {
            return Break{candidate, 0};
        }
    }
    return Break{at, 0};
}

FieldFit fitOf(const PlanField &field, const TPRText *item)
{
    FieldFit fit;
    fit.where = &field;
    if (item == nullptr) {
        return fit;
    }
    TRect rect;
    TPdfCanvas &canvas = canvasFor(*item, rect);
    const TPdfTextLayout layout = item->Layout(canvas, rect);
    const std::string printed = item->PrintedText();
    for (std::size_t i = 0; i < layout.Lines.size(); ++i) {
        const TPdfTextLine &line = layout.Lines[i];
        const std::string_view cut = std::string_view(printed).substr(line.Start + line.Shown, line.Length - line.Shown);
        if (!onlySpaces(cut)) {
            fit.wideLines.push_back(WideLine{static_cast<int>(i) + 1, std::string(cut)});
        }
    }
    if (layout.DroppedAt != TPdfTextLayout::npos) {
        fit.firstDroppedLine = static_cast<int>(layout.Lines.size()) + 1;
        fit.dropped = printed.substr(layout.DroppedAt);
    }
    return fit;
}

// Every line break as CR LF.
std::string withCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

} // namespace

std::vector<FieldFit> CheckPlanFit(const TPRACTDATA &plan)
{
    TPrintFormatForm &form = measure().form;
    form.PlanData = plan;
    form.FillItems();
    std::vector<FieldFit> cut;
    for (const PlanField *field : planfile::checkedFields()) {
        if (field->kind != planfile::FieldKind::Text && field->kind != planfile::FieldKind::Memo) {
            continue;
        }
        FieldFit fit = fitOf(*field, itemOf(form, *field));
        if (!fit.fits()) {
            cut.push_back(std::move(fit));
        }
    }
    return cut;
}

FieldFit CheckFieldFit(const PlanField &field, std::string_view text)
{
    TPRText *item = itemOf(measure().form, field);
    if (item != nullptr) {
        item->SetText(text);
    }
    return fitOf(field, item);
}

std::string BreakWideLines(const PlanField &field, std::string_view text)
{
    std::string result = withCrLf(text);
    TPRText *item = itemOf(measure().form, field);
    if (item == nullptr) {
        return result;
    }
    item->SetText(result);
    // The printed text is the text without its leading blanks (and trailing
    // ones, which hold no line): its offsets lie `lead` bytes further on.
    const std::string printed = item->PrintedText();
    std::size_t lead = 0;
    while (lead < result.size() && static_cast<unsigned char>(result[lead]) <= ' ') {
        ++lead;
    }

    // Measured in a box as wide as the item and tall enough for every line.
    TRect rect;
    TPdfCanvas &canvas = canvasFor(*item, rect);
    rect.Bottom = rect.Top + 1000000;
    const TPdfTextLayout layout = item->Layout(canvas, rect);
    const float width = static_cast<float>(rect.Right) - static_cast<float>(rect.Left);

    std::vector<Break> breaks;
    for (const TPdfTextLine &line : layout.Lines) {
        std::size_t pieceStart = line.Start; // where the printed line now starts
        std::size_t at = line.Start + line.Shown;
        const std::size_t end = line.Start + line.Length;
        while (at < end && !onlySpaces(std::string_view(printed).substr(at, end - at))) {
            const Break chosen = placeBreak(printed, pieceStart, at);
            breaks.push_back(chosen);
            at = chosen.at + chosen.blank;
            pieceStart = at;
            const std::string_view rest = std::string_view(printed).substr(at, end - at);
            auto piece = static_cast<std::size_t>(canvas.MeasureText(rest, width));
            if (piece == 0) {
                // A character wider than the box: it goes on a line of its own.
                piece = cp932::isLeadByte(static_cast<unsigned char>(rest[0])) && rest.size() > 1 ? 2 : 1;
            }
            at += piece;
        }
    }
    for (auto it = breaks.rbegin(); it != breaks.rend(); ++it) {
        result.replace(lead + it->at, it->blank, "\r\n");
    }
    return result;
}

PrintedRoom RoomOf(const PlanField &field)
{
    PrintedRoom room;
    TPRText *item = itemOf(measure().form, field);
    if (item == nullptr) {
        return room;
    }
    room.wraps = item->WordWrap;
    TRect rect;
    TPdfCanvas &canvas = canvasFor(*item, rect);
    // Lines as many as the box ever shows, each of one character; then one
    // line of each width, longer than any box.
    std::string lines;
    for (int n = 0; n < 200; ++n) {
        lines += "a\r\n";
    }
    item->SetText(lines);
    room.lines = static_cast<int>(item->Layout(canvas, rect).Lines.size());
    const auto shownOf = [&](std::string_view character) {
        std::string line;
        for (int n = 0; n < 200; ++n) {
            line += character;
        }
        item->SetText(line);
        const TPdfTextLayout layout = item->Layout(canvas, rect);
        return layout.Lines.empty() ? 0 : static_cast<int>(layout.Lines.front().Shown / character.size());
    };
    room.fullWidth = shownOf("\x82\xa0"); // あ
    room.halfWidth = shownOf("a");
    return room;
}

std::optional<std::string> BreakToFit(const PlanField &field, std::string_view text)
{
    if (field.kind != planfile::FieldKind::Memo) {
        return std::nullopt;
    }
    const FieldFit fit = CheckFieldFit(field, text);
    // Breaking only adds lines: it cannot help a text whose lines already
    // fall below the box.
    if (fit.fits() || fit.firstDroppedLine > 0) {
        return std::nullopt;
    }
    std::string broken = BreakWideLines(field, text);
    if (!CheckFieldFit(field, broken).fits() || (field.limit > 0 && broken.size() > field.limit)) {
        return std::nullopt;
    }
    return broken;
}

} // namespace planfit
