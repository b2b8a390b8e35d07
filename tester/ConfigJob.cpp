#include "tester/ConfigJob.h"

#include "printer/TextFormat.h"

namespace brimwell {

std::string FormatModePayload(char chMode, const std::string& userName) {
    std::string payload;
    AppendPrintf(payload, kModePayloadFormat, chMode, userName.c_str());
    return payload;
}

std::string BuildConfigJob(char chMode, const std::string& userName) {
    const std::string payload = FormatModePayload(chMode, userName);
    std::string job;
    AppendPrintf(job, kConfigJobFormat, static_cast<int>(payload.size()), payload.c_str());
    return job;
}

} // namespace brimwell
