#include "left_out.h"

#include "member_reader.h"

namespace zqr {

std::string leftOutReason(const karvex::Member& member)
{
    if (member.problem != karvex::NameProblem::None) {
        return karvex::describe(member.problem);
    }
    // Encrypted comes first: without the key nothing else about the data matters.
    if (member.recordProblem != karvex::RecordProblem::None && karvex::isEncrypted(member.record)) {
        return "is encrypted, and " +
               (member.recordProblem == karvex::RecordProblem::UnsupportedMethod
                    ? "compressed with method " + std::to_string(member.record.method) +
                          ", which this library cannot read"
                    : std::string("its central record ") + karvex::describe(member.recordProblem));
    }
    if (member.recordProblem == karvex::RecordProblem::UnsupportedMethod) {
        return "is compressed with method " + std::to_string(member.record.method) +
               ", which this library cannot read";
    }
    if (member.recordProblem != karvex::RecordProblem::None) {
        return std::string("its central record ") + karvex::describe(member.recordProblem);
    }
    if (member.duplicate) {
        return "the same name occurs earlier in the archive";
    }
    return {};
}

} // namespace zqr
