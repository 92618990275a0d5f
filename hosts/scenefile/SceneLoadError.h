#pragma once
// Why a scene file did not load: the class of the fault, the file, where in the file, and a text.

#include <string>

namespace vx {

enum class SceneLoadErrorKind {
    FileNotReadable, // the scene file or a side file cannot be opened or read
    InvalidUtf8, // the scene file holds bytes that are not UTF-8 (line and column given)
    Syntax, // malformed JSON (line and column given)
    WrongFormat, // not a scene file of a supported format name and version
    MissingField, // a required field is absent
    WrongType, // a field has the wrong JSON type
    UnknownField, // a field that the format does not have (typing errors are caught)
    InvalidValue, // a value of the right type outside its domain (an unknown unit name, a count
                  // that does not match, a zero quaternion...)
    DuplicateId, // two declarations with one id
    UnknownReference, // an id or buffer index that names nothing
    NotATree, // the node hierarchy is not a tree (a node placed twice, or a cycle)
    ReferenceCycle, // materials, textures or derived objects that refer to themselves; a path
                    // constraint whose path node is its own node, one of its children, or moved
                    // by it through further path constraints
    IndexOutOfRange, // a face's vertex index, a map face's index or a material id out of range
    NonFinite, // a number that is infinite or not a number
    SizeLimit, // a size over the loader's limits (memory would be exhausted)
    TooDeep, // nesting deeper than the loader's limits
    BufferRange, // a side-file range outside the file, or a file of another size than declared
};

struct SceneLoadError {
    SceneLoadErrorKind kind = SceneLoadErrorKind::Syntax;
    // The file at fault (the scene file, or a side file).
    std::string file;
    // The JSON Pointer of the value at fault ("" is the whole document); for InvalidUtf8, Syntax and
    // TooDeep nesting found while reading the text, line and column (1-based, in characters) instead.
    std::string location;
    int line = 0;
    int column = 0;
    std::string message;

    // "file:line:column: message" or "file: at /json/pointer: message".
    std::string GetText() const;
};

// The kind's name, e.g. "NotATree".
const char* GetSceneLoadErrorKindName(SceneLoadErrorKind kind);

} // namespace vx
