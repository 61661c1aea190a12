#pragma once
// A session of random user events against the real program, and the
// invariants that must hold after every one of them. Driven by a seeded
// random generator (the long session test) or by a fuzzer's bytes.

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace korven::test {

// Where a session's choices come from.
class Choices {
public:
    virtual ~Choices() = default;
    // A number from 0 to below - 1.
    virtual std::uint32_t below(std::uint32_t below) = 0;
    // False once the choices are used up.
    virtual bool left() const = 0;
};

class RandomChoices final : public Choices {
public:
    explicit RandomChoices(std::uint32_t seed) : random_(seed) {}
    std::uint32_t below(std::uint32_t below) override { return random_() % below; }
    bool left() const override { return true; }

private:
    std::mt19937 random_;
};

// A fuzzer's bytes, one or two per choice.
class ByteChoices final : public Choices {
public:
    explicit ByteChoices(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint32_t below(std::uint32_t below) override;
    bool left() const override { return at_ < bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// Starts the program afresh, with scripted dialogs, as every session does.
void start_program_afresh();

// Events chosen at random: clicks on every button, check box and radio
// button, the command keys (undo, redo, live DRAW ...), slider and scroll bar
// moves, field texts of every kind, clicks and moves anywhere on the picture
// window, its resizing, loads and drops of good, cut-off and fake files, and
// saves into `folder`, where the session first writes the files it loads.
class RandomSession {
public:
    explicit RandomSession(std::string folder);
    // Performs one event and says what it was.
    std::string step(Choices& choices);

private:
    std::string dialog_answer(Choices& choices) const;
    std::string field_text(Choices& choices) const;

    std::string folder_;
    std::vector<std::string> main_window_clickables_;
    std::vector<std::string> fields_;
};

// The first invariant that does not hold now, or "" when all hold: every
// picture slot has the size recorded for it, the shown size is the shown
// slot's, the picture window has its recorded size, the view offsets lie
// inside the picture, the scroll bars agree with the view, at one to one the
// window shows the picture from the view's offsets, the zooms are sound, the
// size labels read the pictures' sizes, and each curve slider stands where
// its field's number puts it.
std::string broken_invariant();

}  // namespace korven::test
