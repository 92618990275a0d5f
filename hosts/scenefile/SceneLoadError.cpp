#include "scenefile/SceneLoadError.h"

namespace vx {

std::string SceneLoadError::GetText() const
{
    if (line > 0)
        return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
    return file + ": at " + (location.empty() ? std::string("/") : location) + ": " + message;
}

const char* GetSceneLoadErrorKindName(SceneLoadErrorKind kind)
{
    switch (kind) {
    case SceneLoadErrorKind::FileNotReadable:
        return "FileNotReadable";
    case SceneLoadErrorKind::InvalidUtf8:
        return "InvalidUtf8";
    case SceneLoadErrorKind::Syntax:
        return "Syntax";
    case SceneLoadErrorKind::WrongFormat:
        return "WrongFormat";
    case SceneLoadErrorKind::MissingField:
        return "MissingField";
    case SceneLoadErrorKind::WrongType:
        return "WrongType";
    case SceneLoadErrorKind::UnknownField:
        return "UnknownField";
    case SceneLoadErrorKind::InvalidValue:
        return "InvalidValue";
    case SceneLoadErrorKind::DuplicateId:
        return "DuplicateId";
    case SceneLoadErrorKind::UnknownReference:
        return "UnknownReference";
    case SceneLoadErrorKind::NotATree:
        return "NotATree";
    case SceneLoadErrorKind::ReferenceCycle:
        return "ReferenceCycle";
    case SceneLoadErrorKind::IndexOutOfRange:
        return "IndexOutOfRange";
    case SceneLoadErrorKind::NonFinite:
        return "NonFinite";
    case SceneLoadErrorKind::SizeLimit:
        return "SizeLimit";
    case SceneLoadErrorKind::TooDeep:
        return "TooDeep";
    case SceneLoadErrorKind::BufferRange:
        return "BufferRange";
    }
    return "Unknown";
}

} // namespace vx
