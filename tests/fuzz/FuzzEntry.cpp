#include "FuzzEntry.h"

#include "pdfreader/Page.h"

#include <string>

int pdfReaderFuzzOne(const std::uint8_t *data, std::size_t size)
{
    try {
        auto reader = TPdfPage::fromBytes(std::string(reinterpret_cast<const char *>(data), size));
        std::size_t total = reader->author().size() + reader->subject().size();
        for (const TTextItem &item : reader->strings().items()) {
            for (const std::string &line : item.lines)
                total += line.size();
        }
        for (std::size_t page = 0; page < reader->pages().count(); ++page)
            total += reader->imageData(page).size();
        return total == static_cast<std::size_t>(-1) ? 1 : 0;
    } catch (const EPdfReadError &) {
        return 0;
    }
}
