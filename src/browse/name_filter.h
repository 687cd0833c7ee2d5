// Finding members by part of their name: a text matches every name that contains it, letters
// without regard to case, full-width Latin letters, digits and signs as their half-width forms.
#pragma once

#include <string>
#include <string_view>

namespace browse {

// UTF-8 text in the form names are compared in: full-width forms (U+FF01..U+FF5E) as their
// ASCII twins, upper-case Latin, Greek and Cyrillic letters as lower-case. Bytes that are not
// valid UTF-8 stay as they are.
void foldForFinding(std::string_view text, std::string& folded);

class NameFilter {
public:
    explicit NameFilter(std::string_view text = {});

    // True when there is no text to find: every name matches.
    [[nodiscard]] bool empty() const { return wanted_.empty(); }
    [[nodiscard]] bool matches(std::string_view name) const;

private:
    std::string wanted_;
    mutable std::string folded_; // the name being tested, reused to spare an allocation per name
};

} // namespace browse
