#pragma once
// The scene passes that run on the host scene before anything else of an export run, and the
// manager that runs them in order.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

class ModuleManager {
public:
    static constexpr int MAX_PASSES = 8;
    // The index of the geometry optimiser pass, enabled only with optimizeGeometry.
    static constexpr int GEOMETRY_OPTIMIZER_INDEX = 0;

    ModuleManager() = default;
    ModuleManager(const ModuleManager&) = delete;
    ModuleManager& operator=(const ModuleManager&) = delete;

    // Appends pass as the next index. Returns false (and destroys the pass) when the manager
    // holds MAX_PASSES already or pass is null.
    bool AddPass(std::unique_ptr<IModule> pass);
    int PassCount() const { return static_cast<int>(passes_.size()); }

    // The enable bits of a run: one bit per pass held, the geometry optimiser's bit cleared unless
    // optimizeGeometry.
    uint32_t RunEnableBits(bool optimizeGeometry) const;

    // Empties the composite-identifier registry and the message text, then runs each pass whose
    // bit is set, in index order, attached to the manager's message sink. Bits of passes the
    // manager does not hold are ignored.
    void Run(uint32_t enableBits);

    const ModuleMessageSink& GetMessages() const { return messages_; }

private:
    void EmptyCompIdRegistry();

    std::vector<std::unique_ptr<IModule>> passes_;
    ModuleMessageSink messages_;
};

} // namespace vx
