#pragma once
// The export nodes whose conversion is in progress. A geometry or group node is in the set while it
// converts itself (and so its subtree); an instance node whose template is in the set would convert
// the template inside itself without end, so it converts nothing instead.

namespace vx {

class BaseNode;

class ConversionGuard {
public:
    // Adds node to the set for the guard's life. A node already in the set stays in it until its
    // outermost guard ends.
    explicit ConversionGuard(const BaseNode* node);
    ~ConversionGuard();
    ConversionGuard(const ConversionGuard&) = delete;
    ConversionGuard& operator=(const ConversionGuard&) = delete;

    // Whether node's conversion is in progress.
    static bool IsConverting(const BaseNode* node);

private:
    const BaseNode* node_;
    bool added_;
};

} // namespace vx
