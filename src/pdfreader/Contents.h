#pragma once

#include "pdfreader/DocumentCatalog.h"
#include "pdfreader/Outline.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Values of the page-tree node loaded last. Loading a node clears them.
struct TPdfNodeValues {
    std::int32_t objectNumber = 0, generation = 0;
    std::string type, parent, count, lastModified, contents, rotate, dur, structParents, id, pz, tabs,
        templateInstantiated, userUnit;
    std::string mediaBox, cropBox; // the arrays as written, their first 64 bytes
    std::int64_t kids = 0;         // position after the `[` of Kids
    std::int64_t resources = 0;    // position of the resource dictionary's `<<`
    std::int64_t annots = 0;       // position after the `[` of Annots
};

// Walks the page tree depth-first in Kids order with an explicit stack of at
// most 9 nested Pages levels, and finds a page's outline title.
//
// The walk is driven from outside: startWalk(), then while !walkFinished():
// use node(), nextPage().
class TPdfContents : public TPdfDocumentCatalog {
public:
    explicit TPdfContents(std::unique_ptr<TPdfInputStream> stream);

    void startWalk();
    void nextPage();
    bool walkFinished() const { return m_walkFinished; }
    const TPdfNodeValues &node() const { return m_node; }
    const std::vector<std::string> &kids() const { return m_kids; }

    // Title of the first top-level outline item whose destination names
    // this page; empty without an outline or without such an item. The
    // outline is read in Outline.cpp.
    std::string pageTitle(std::int32_t objectNumber, std::int32_t generation);

    // The most pages a file may have, and the most kids a Pages node may
    // name; more are refused with "PDF READ LIMIT ERROR Address : ".
    static constexpr std::int64_t MaxPages = 10000;

private:
    static constexpr int MaxLevels = 9;
    struct StackEntry {
        std::string reference;
        int index = -1;
        std::vector<std::string> kids; // the node's Kids, read when it was pushed
    };

    void loadNode(const std::string &reference);
    bool readNodeDictionary();
    void readKids();
    void push(const std::string &reference, int index, std::vector<std::string> kids);
    StackEntry pop();
    void descend(std::string reference);
    void reachedPage();

    void readOutline();
    void loadOutlineItem(const std::string &reference);

    TPdfNodeValues m_node;
    std::vector<std::string> m_kids;
    std::array<StackEntry, MaxLevels + 1> m_stack;
    int m_top = 0;
    int m_currentKid = 0;
    bool m_walkFinished = true;
    std::int64_t m_pageVisits = 0;
    TPdfOutline m_outline;
};
