// A long random session against the real program. `make test` runs one short
// seeded session; `make soak` runs sessions of new seeds for
// KORVEN_SOAK_SECONDS. A failure names the seed and the event number, and
// KORVEN_SOAK_SEED=<seed> replays that session.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>

#include "tests/support/random_session.h"

namespace korven::test {
namespace {

namespace fs = std::filesystem;

// Events of one seed; `make test` runs a single seed.
constexpr int events_per_seed = 400;

// Runs one seed's session; false, having said why, when an invariant broke.
bool session_keeps_invariants(std::uint32_t seed, long long& events)
{
    const fs::path folder = fs::temp_directory_path() /
                            ("korven-session-" + std::to_string(getpid()) + "-" + std::to_string(seed));
    fs::create_directories(folder);
    start_program_afresh();
    RandomSession session(folder.string());
    RandomChoices choices(seed);
    std::deque<std::string> recent;
    bool kept = true;
    for (int n = 0; n < events_per_seed && kept; ++n, ++events) {
        recent.push_back(session.step(choices));
        if (recent.size() > 12) recent.pop_front();
        const std::string broken = broken_invariant();
        if (broken.empty()) continue;
        std::string story;
        for (const std::string& event : recent) story += "  " + event + "\n";
        ADD_FAILURE() << "seed " << seed << ", event " << n << ": " << broken << "\nthe last events:\n"
                      << story << "replay with KORVEN_SOAK_SEED=" << seed;
        kept = false;
    }
    fs::remove_all(folder);
    return kept;
}

TEST(RandomSession, EveryEventKeepsTheViewTheSlotsAndTheCurveSound)
{
    const char* replay = std::getenv("KORVEN_SOAK_SEED");
    const char* soak = std::getenv("KORVEN_SOAK_SECONDS");
    std::uint32_t seed = replay ? static_cast<std::uint32_t>(std::strtoul(replay, nullptr, 10))
                         : soak ? std::random_device{}()
                                : 1;
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::seconds(soak && !replay ? std::atoi(soak) : 0);
    long long events = 0;
    int seeds = 0;
    do {
        ++seeds;
        if (!session_keeps_invariants(seed++, events)) break;
    } while (std::chrono::steady_clock::now() < end);
    std::printf("%lld events in %d sessions\n", events, seeds);
}

}  // namespace
}  // namespace korven::test
