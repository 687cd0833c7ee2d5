#include "host/toolkit/fonts_internal.h"

#include <QStringList>

namespace host {

namespace {

// The installed faces that stand in for a face name, best first.
QStringList familiesFor(const std::string& face)
{
    if (face == "宋体") {
        return {"Noto Serif CJK SC", "Noto Sans CJK SC"};
    }
    if (face == "Arial") {
        // Chinese texts in an "Arial" control fall back to the Song face, as Windows links
        // Arial to its Song face; one CJK face is also one font file less to load.
        return {"Liberation Sans", "Noto Serif CJK SC"};
    }
    return {QString::fromStdString(face)};
}

} // namespace

QFont font(const std::string& face, int points, FontWeight weight)
{
    QFont result;
    result.setFamilies(familiesFor(face));
    result.setPointSize(points);
    result.setWeight(weight == FontWeight::Bold ? QFont::Bold : QFont::Normal);
    return result;
}

} // namespace host
