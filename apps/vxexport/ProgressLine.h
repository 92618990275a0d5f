#pragma once
// The host's progress bar as one terminal line, "<title> <percent>%", redrawn in place.

#include <ostream>
#include <string>
#include <string_view>

namespace vx {

class ProgressLine {
public:
    // Draws nothing when enabled is false (stderr is no terminal, or --quiet).
    ProgressLine(std::ostream& out, bool enabled);

    // A new bar: title at 0 percent.
    void Start(std::string_view title);
    // The bar at percent (clamped to 0..100); redrawn only when the shown text changes.
    void Update(int percent);
    // Removes the bar's line; later output starts at the line's beginning.
    void End();
    // Removes the line for other output (a message, a prompt); the next Update draws it again.
    void Hide();

private:
    void Draw();

    std::ostream& out_;
    bool enabled_;
    bool active_ = false;
    bool shown_ = false;
    std::string title_;
    int percent_ = 0;
};

} // namespace vx
