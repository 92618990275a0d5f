#pragma once
// The scene passes that run on the host scene before anything else of an export run: their common
// interface and the sink their messages go to.

#include <string>

namespace vx {

// Collects the messages of the passes. The export run gives it no status window, so a flush
// shows nothing; the text is kept for whoever asks.
class ModuleMessageSink {
public:
    // Appends text to the message text; flush asks to show the whole text in the status window.
    void Log(const std::string& text, bool flush);
    void Clear() { text_.clear(); }
    const std::string& GetText() const { return text_; }

private:
    std::string text_;
};

// A scene pass.
class IModule {
public:
    virtual ~IModule() = default;
    // Stores the sink the pass reports to (not owned).
    virtual void Attach(ModuleMessageSink* sink) { sink_ = sink; }
    // Appends text to the sink's message text (nothing without a sink).
    virtual void Log(const std::string& text, bool flush)
    {
        if (sink_)
            sink_->Log(text, flush);
    }
    // Runs the pass on the host scene; false when it could not run.
    virtual bool Run() = 0;

protected:
    ModuleMessageSink* sink_ = nullptr;
};

} // namespace vx
