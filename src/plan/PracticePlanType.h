#pragma once

// The plan record: one filled-in two-page plan form as a plain value.
// Every text is a code-page-932 byte string and every capacity counts bytes.
// Copying a record copies every text; nothing is shared between copies.

#include "plan/DateTime.h"

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Byte string with a fixed capacity of N bytes: a longer value is cut to its
// first N bytes when stored (even inside a double-byte character, as the
// fixed-size field of the original record did).
template <std::size_t N> class ShortText {
public:
    static constexpr std::size_t capacity = N;

    ShortText() = default;
    // Implicit, like assigning to a string field of the record.
    template <typename S>
        requires std::convertible_to<const S &, std::string_view>
    ShortText(const S &value) // NOLINT
    {
        assign(value);
    }
    template <typename S>
        requires std::convertible_to<const S &, std::string_view>
    ShortText &operator=(const S &value)
    {
        assign(value);
        return *this;
    }

    void assign(std::string_view value) { m_text.assign(value.substr(0, N)); }
    const std::string &str() const { return m_text; }
    operator std::string_view() const { return m_text; } // NOLINT
    std::size_t size() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }

    friend bool operator==(const ShortText &, const ShortText &) = default;
    template <typename S>
        requires std::convertible_to<const S &, std::string_view>
    friend bool operator==(const ShortText &a, const S &b)
    {
        return a.m_text == std::string_view(b);
    }

private:
    std::string m_text;
};

// Text buffer of 1,025 bytes holding a null-terminated text of at most 1,024
// bytes: a value is cut at its first null byte and at 1,024 bytes.
class TextBuffer {
public:
    static constexpr std::size_t capacity = 1024;

    TextBuffer() = default;
    // Implicit, like assigning to a string field of the record.
    template <typename S>
        requires std::convertible_to<const S &, std::string_view>
    TextBuffer(const S &value) // NOLINT
    {
        assign(value);
    }
    template <typename S>
        requires std::convertible_to<const S &, std::string_view>
    TextBuffer &operator=(const S &value)
    {
        assign(value);
        return *this;
    }

    void assign(std::string_view value)
    {
        const std::size_t nul = value.find('\0');
        if (nul != std::string_view::npos) {
            value = value.substr(0, nul);
        }
        m_text.assign(value.substr(0, capacity));
    }
    const std::string &str() const { return m_text; }
    operator std::string_view() const { return m_text; } // NOLINT
    std::size_t size() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }

    friend bool operator==(const TextBuffer &, const TextBuffer &) = default;
    template <typename S>
        requires std::convertible_to<const S &, std::string_view>
    friend bool operator==(const TextBuffer &a, const S &b)
    {
        return a.m_text == std::string_view(b);
    }

private:
    std::string m_text;
};

// One row of an assessment table.
struct TPRACTITEM {
    std::array<ShortText<10>, 5> ABC; // marks of the five level columns: "", "A", ..., "ABC"
    ShortText<60> Goods;              // equipment in use
    ShortText<60> Kaigo;              // kind of help given
    ShortText<10> Time;               // target period
    std::int32_t Special = 0;         // priority mark: 0 none, 1 "○", 2 "◎"

    friend bool operator==(const TPRACTITEM &, const TPRACTITEM &) = default;
};

constexpr int kActivityRows = 13; // rows 0-12 of the first table
constexpr int kMotionRows = 8;    // rows 20-27 of the second table
constexpr int kMotionFirstRow = 20;
constexpr int kTeamMembers = 13; // Team[1] .. Team[13]

// The plan.
struct TPRACTDATA {
    TDateTime PlanDate = 0;
    std::string Name;
    std::int32_t Sex = 0; // -1 none, 0 男性, 1 女性
    TDateTime BirthDate = 0;
    std::int32_t Age = 0;
    std::int32_t KaigoLevel = 0; // -1 none, 0-7
    std::string Kenkou;
    std::string Gapei;
    std::string Seikatsu;
    bool Home = false;
    bool Etc = false;
    std::string EtcText;
    bool Taiin = false;
    std::string HomeWork;
    std::string Social;
    std::string GoOut;
    std::string FreeTime;
    std::string TaiinText;
    bool ExerciseFlag = false;
    std::string ExerciseText;
    bool SenseFlag = false;
    std::string SenseText;
    bool BrainFlag = false;
    std::string BrainText;
    bool KoushukuFlag = false;
    std::string KoushukuText;
    bool ArthralgiaFlag = false;
    std::string ArthralgiaText;
    bool SonotaFlag = false;
    std::string SonotaText;
    std::int32_t HDS = 0;
    std::array<TPRACTITEM, kActivityRows> ActivityItems;
    TextBuffer PTOTST0Text;
    TextBuffer Kango0Text;
    TextBuffer Jitchi0Text;
    std::array<TPRACTITEM, kMotionRows> MotionItems;
    TextBuffer PTOTST1Text;
    TextBuffer Kango1Text;
    TextBuffer Jitchi1Text;
    TextBuffer SelfHopeText;
    TextBuffer FarmilyHopeText;
    TextBuffer LifePointText;
    TextBuffer RihaTergetText;
    TextBuffer SelfDoText;
    TextBuffer AskFarmilyText;
    TextBuffer DiseseCareText;
    TextBuffer VariationText;
    TextBuffer RemarkText;
    // Index 1-13 as on the form; element 0 is unused and stays empty.
    std::array<std::string, kTeamMembers + 1> Team;
    // A one-line support note below 備考. No released layout prints it
    // yet: the layout tests add it in a layout version of their own, as a
    // new field of the form would be added.
    std::string SupportNotes;

    friend bool operator==(const TPRACTDATA &, const TPRACTDATA &) = default;
};

// The row of a table by its control number: 0-12 -> ActivityItems,
// 20-27 -> MotionItems. Numbers outside both ranges are a programming error.
TPRACTITEM &planRow(TPRACTDATA &plan, int number);
const TPRACTITEM &planRow(const TPRACTDATA &plan, int number);

// The row numbers of both tables in form order: 0..12, then 20..27.
const std::array<int, kActivityRows + kMotionRows> &planRowNumbers();

// Puts every field to the starting value of a new plan; both dates become `now`.
void ResetPlan(TPRACTDATA &plan, TDateTime now);
