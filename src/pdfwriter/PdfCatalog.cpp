#include "pdfwriter/PdfCatalog.h"

#include <cmath>
#include <cstdio>

namespace {

const char *const kPageLayoutNames[] = {"SinglePage", "OneColumn", "TwoColumnLeft", "TwoColumnRight"};
const char *const kPageModeNames[] = {"UseNone", "UseOutlines", "UseThumbs", "FullScreen"};
const char *const kViewerPreferenceKeys[] = {"HideToolbar", "HideMenubar", "HideWindowUI", "FitWindow",
                                             "CenterWindow"};

} // namespace

std::string PdfDateString(TDateTime value)
{
    double day = std::trunc(value);
    long long ms = std::llround(std::fabs(value - day) * 86400000.0);
    if (ms >= 86400000LL) {
        ms -= 86400000LL;
        day += value < 0 ? -1 : 1;
    }
    const CivilDate date = decodeDate(day);
    const long long seconds = ms / 1000;
    char buf[40];
    std::snprintf(buf, sizeof buf, "D:%04d%02d%02d%02lld%02lld%02lld", date.year, date.month, date.day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

void TPdfInfo::SetText(const char *key, const std::string &value)
{
    Data()->AddItem(key, new TPdfText(value));
}

std::string TPdfInfo::Text(const char *key) const
{
    const TPdfText *text = Data()->PdfTextByName(key);
    return text != nullptr ? text->Value() : std::string();
}

void TPdfInfo::SetAuthor(const std::string &value) { SetText("Author", value); }
void TPdfInfo::SetCreationDate(TDateTime value) { SetText("CreationDate", PdfDateString(value)); }
void TPdfInfo::SetModDate(TDateTime value) { SetText("ModDate", PdfDateString(value)); }
void TPdfInfo::SetCreator(const std::string &value) { SetText("Creator", value); }
void TPdfInfo::SetProducer(const std::string &value) { SetText("Producer", value); }
void TPdfInfo::SetTitle(const std::string &value) { SetText("Title", value); }
void TPdfInfo::SetSubject(const std::string &value) { SetText("Subject", value); }
void TPdfInfo::SetKeywords(const std::string &value) { SetText("Keywords", value); }
std::string TPdfInfo::Author() const { return Text("Author"); }
std::string TPdfInfo::Creator() const { return Text("Creator"); }
std::string TPdfInfo::Title() const { return Text("Title"); }
std::string TPdfInfo::Subject() const { return Text("Subject"); }
std::string TPdfInfo::Keywords() const { return Text("Keywords"); }

void TPdfCatalog::SetPages(TPdfDictionary *pages)
{
    if (pages != nullptr && pages->TypeOf() == "Pages") {
        Data()->AddItem("Pages", pages);
    }
}

void TPdfCatalog::SetPageLayout(TPdfPageLayout value)
{
    Data()->AddItem("PageLayout", new TPdfName(kPageLayoutNames[value]));
}

void TPdfCatalog::SetPageMode(TPdfPageMode value)
{
    Data()->AddItem("PageMode", new TPdfName(kPageModeNames[value]));
}

TPdfDictionary *TPdfCatalog::ViewerPreferences()
{
    TPdfDictionary *prefs = Data()->PdfDictionaryByName("ViewerPreferences");
    if (prefs == nullptr) {
        prefs = new TPdfDictionary(Data()->ObjectMgr());
        Data()->AddItem("ViewerPreferences", prefs);
    }
    return prefs;
}

void TPdfCatalog::SetNonFullScreenPageMode(TPdfPageMode value)
{
    TPdfDictionary *prefs = ViewerPreferences();
    if (value == pmUseNone || value == pmFullScreen) {
        prefs->RemoveItem("NonFullScreenPageMode");
    } else {
        prefs->AddItem("NonFullScreenPageMode", new TPdfName(kPageModeNames[value]));
    }
}

void TPdfCatalog::SetViewerPreference(TPdfViewerPreferences value)
{
    TPdfDictionary *prefs = ViewerPreferences();
    for (unsigned i = 0; i < 5; ++i) {
        if ((value & (1u << i)) != 0) {
            prefs->AddItem(kViewerPreferenceKeys[i], new TPdfBoolean(true));
        } else {
            prefs->RemoveItem(kViewerPreferenceKeys[i]);
        }
    }
}

TPdfPageLayout TPdfCatalog::PageLayout() const
{
    if (const TPdfName *name = Data()->PdfNameByName("PageLayout")) {
        for (int i = 0; i < 4; ++i) {
            if (name->Value() == kPageLayoutNames[i]) {
                return static_cast<TPdfPageLayout>(i);
            }
        }
    }
    return plSinglePage;
}

TPdfPageMode TPdfCatalog::PageMode() const
{
    if (const TPdfName *name = Data()->PdfNameByName("PageMode")) {
        for (int i = 0; i < 4; ++i) {
            if (name->Value() == kPageModeNames[i]) {
                return static_cast<TPdfPageMode>(i);
            }
        }
    }
    return pmUseNone;
}
