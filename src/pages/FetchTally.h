#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/ConcurrentFetches.h"
#include "pages/FailureReport.h"

namespace kestavel {

// What a fetching command reports: how many fetches it made and which items failed, in the
// items' order whatever order the fetches ended in.
struct FetchTally {
    std::int64_t fetched = 0;
    FailureList failures;
};

// `label` gives item i's 序号 and 编码 as the failure list shows them.
inline FetchTally TallyFetches(
    const std::vector<FetchOutcome>& outcomes,
    const std::function<std::pair<std::string, std::string>(std::size_t)>& label) {
    FetchTally tally;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i] == FetchOutcome::NotFetched) continue;
        ++tally.fetched;
        if (outcomes[i] == FetchOutcome::Failed) {
            auto [number, code] = label(i);
            tally.failures.add(std::move(number), std::move(code));
        }
    }
    return tally;
}

}  // namespace kestavel
