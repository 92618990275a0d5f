#pragma once
// The interfaces that cross the boundary between a plug-in library and the program that loads it.
//
// The library and the program may be built separately, so only these cross it: pointers to the
// abstract classes below (and to the host interface), plain C strings and integers. No standard
// container or string crosses by value; an object is destroyed by the side that made it
// (SceneExport::DeleteThis). Strings returned by a plug-in stay valid as long as the object that
// returned them, unless stated otherwise.

#include <cstddef>
#include <cstdint>

namespace vx {

class Host;

// The super class code of scene exporters.
constexpr std::uint32_t kSuperClassSceneExport = 0xA20;

// The version stamp a plug-in library must report through LibVersion: the host's release 12000
// with interface number 33 and revision 0.
constexpr std::uint32_t kPluginApiVersion = 0x2EE02100;

// A plug-in's debugger output, handed to the loading program: text is text's length bytes, not
// necessarily terminated; context is the value given with the callback.
using DebugOutputCallback = void (*)(const char* text, std::size_t length, void* context);

// How an export run ended, as a read-only view. Status values: 0 not run, 1 succeeded, 2 finished
// with failures, 3 no valid objects, 4 target in use, 5 cancelled, 6 failed.
class ExportReport {
public:
    virtual int GetStatus() const = 0;
    // The objects that could not be converted; GetFailedName gives "" for an index out of range.
    virtual int GetFailedCount() const = 0;
    virtual const char* GetFailedName(int index) const = 0;
    // The log's path; "" when no log was created.
    virtual const char* GetLogPath() const = 0;
    // 1 when the target now holds this run's database, 0 otherwise.
    virtual int IsTargetReplaced() const = 0;
    // A short failure description; "" when there is none.
    virtual const char* GetDetail() const = 0;
    virtual int GetWarningCount() const = 0;
    virtual int GetErrorCount() const = 0;

protected:
    ~ExportReport() = default;
};

// DoExport's results, as the host reads them.
constexpr int kExportResultException = 0; // an exception ended the run
constexpr int kExportResultDone = 1; // the run went through (also when it reported errors)
constexpr int kExportResultCancelled = 2; // the options dialog was not ended with OK

// DoExport's option bits. A default run (options 0) writes no animation and leaves the scene's
// objects alone; these bits ask for that work for one run. Other bits are ignored.
constexpr unsigned int kExportOptionAnimation = 1u << 16; // write key-frame animation data
constexpr unsigned int kExportOptionOptimizeGeometry = 1u << 17; // share equal meshes first

// An exporter object, as the host sees it.
class SceneExport {
public:
    // Destroys the object with the allocator of the library that made it.
    virtual void DeleteThis() = 0;
    // The file extensions the exporter writes; Ext gives "" for an index out of range.
    virtual int ExtCount() = 0;
    virtual const char* Ext(int n) = 0;
    virtual const char* LongDesc() = 0;
    virtual const char* ShortDesc() = 0;
    virtual const char* AuthorName() = 0;
    virtual const char* CopyrightMessage() = 0;
    virtual const char* OtherMessage1() = 0;
    virtual const char* OtherMessage2() = 0;
    virtual unsigned int Version() = 0;
    virtual void ShowAbout(void* window) = 0;
    // Exports host's scene to name (UTF-8 path); suppressPrompts is 0 or 1; options holds
    // kExportOption bits. Returns 0 when an exception ended the run, 1 when it went through, 2 when
    // the options dialog was cancelled.
    virtual int DoExport(const char* name, Host* host, int suppressPrompts, unsigned int options = 0) = 0;
    virtual int SupportsOptions(int ext, unsigned int options) = 0;
    // How the last DoExport call ended; valid until the next call or DeleteThis.
    virtual const ExportReport* GetLastReport() const = 0;
    // Routes the library's debugger output to callback (null drops it) while this object lives.
    virtual void SetDebugOutput(DebugOutputCallback callback, void* context) = 0;

protected:
    virtual ~SceneExport() = default;
};

// A class identifier: two 32-bit words.
struct PluginClassId {
    std::uint32_t a = 0;
    std::uint32_t b = 0;
};

// A class descriptor: tells the host how to make the objects of one class.
class ClassDesc {
public:
    virtual int IsPublic() = 0;
    // A new object of the class (a SceneExport for the super class kSuperClassSceneExport), owned
    // by the caller and destroyed through its DeleteThis.
    virtual void* Create(int loading) = 0;
    virtual int BeginCreate(void* creator) = 0;
    virtual int EndCreate(void* creator) = 0;
    virtual const char* ClassName() = 0;
    virtual std::uint32_t SuperClassID() = 0;
    virtual PluginClassId ClassID() = 0;
    virtual const char* Category() = 0;
    virtual int OkToCreate(void* host) = 0;
    virtual int HasClassParams() = 0;
    virtual void EditClassParams(void* window) = 0;
    virtual const char* InternalName() = 0;
    // The library's module handle; null before the library entry stored it.
    virtual void* HInstance() = 0;

protected:
    ~ClassDesc() = default;
};

} // namespace vx
