#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the page reader keeps of one page, in walk order.
struct TPageRecord {
    std::int32_t objectNumber = 0;
    std::int32_t generation = 0;
    std::int64_t imageDataPosition = 0; // start of the first external object's data when it is an image
    std::int32_t imageDataLength = 0;   // that stream's Length; 0 without an image
    std::string annotationText;         // Contents of the first annotation when its Subtype is Text
    std::string title;                  // the page's outline title
    std::string externalObjectName;     // first name of the page's XObject dictionary
    // The page's own MediaBox and CropBox arrays as written (first 64
    // bytes; empty when the page has none) and its UserUnit digits.
    std::string mediaBox, cropBox, userUnit;
};

class TPageList {
public:
    void add(const TPageRecord &record) { m_records.push_back(record); }
    TPageRecord get(std::size_t index) const { return m_records.at(index); }
    std::size_t count() const { return m_records.size(); }
    void clear() { m_records.clear(); }
    const std::vector<TPageRecord> &records() const { return m_records; }

private:
    std::vector<TPageRecord> m_records;
};
