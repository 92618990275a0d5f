#include "exporter/VNX30MaxExporter.h"
#include "run/ExportRunState.h"
#include "run/RunPhaseHook.h"

#include "exporter/ExportTexts.h"
#include "exporter/ExportTree.h"
#include "run/SceneContext.h"
#include "run/TextureSearchPlaces.h"
#include "scene/DesignBounds.h"
#include "scene/MyGroupNode.h"
#include "scene/ReferencedNodes.h"

#include "database/CompositeObjectWriter.h"
#include "database/DesignDatabase.h"
#include "database/InstanceWriter.h"
#include "database/RootRecordWriter.h"

#include "base/Paths.h"
#include "design/CompositeObject.h"
#include "design/PropertyKey.h"
#include "design/PropertyTypes.h"
#include "host/Host.h"

#include <exception>
#include <stdexcept>
#include <string>

namespace vx {

namespace {

constexpr const char* kImportTemplateName = "ImportTemplate";
constexpr const char* kImportTemplateValue = "Release";

// The scene's title for the root record: the scene file's title, "- no name -" when unsaved.
std::string SceneTitleOf(Host& host)
{
    const std::string fileName = host.GetCurFileName();
    if (fileName.empty())
        return kTextNoName;
    return GetFileTitle(fileName.c_str());
}

// The referenced-node pass over every top-level subtree, then the conversion of the tree into
// designRoot and the design root's box.
void ConvertTree(ZR::CompositeObject* designRoot, ExportTree& tree, bool single)
{
    MyGroupNode* root = tree.Root();
    if (!designRoot || !root || !root->GetHostNode())
        return;
    for (uint32_t i = 0; i < root->NumChildren(); ++i)
        ProcessReferencedNodes(*root->GetChild(i), designRoot);
    root->Convert(designRoot, single, HostMatrix3::Identity());
    ComputeCompositeBounds(*designRoot);
}

// The run's options as the design writers read them.
DesignWriteOptions DesignWriteOptionsOf(const ExportRunState& run, const SceneContext& context)
{
    DesignWriteOptions options;
    options.singleObjectActive = run.singleObjectActive;
    options.shareEqualData = run.shareEqualData;
    options.keepMissingTextures = run.keepMissingTextures;
    options.textureNamesWithExtension = run.textureNamesWithExtension;
    options.scaleFactor = context.scaleFactor;
    return options;
}

void EmptyConversionTables()
{
    if (SceneContext* context = CurrentSceneContext())
        context->EmptyRunTables();
}

} // namespace

bool VNX30MaxExporter::ConvertScene(ZR::CompositeObject* designRoot, ExportTree& tree)
{
    if (!host)
        return false;
    ConvertTree(designRoot, tree, singleObjectActive);
    MarkRunPhase(RunPhase::Converted);
    if (host->GetCancel()) {
        EmptyConversionTables();
        return true;
    }

    bool objectsFound = false;
    try {
        SqlWriter* writer = CurrentSqlWriter();
        SceneContext* context = CurrentSceneContext();
        if (!designRoot || !writer || !context)
            throw std::logic_error("no design root, scene context or open design database");
        const DesignWriteOptions writeOptions = DesignWriteOptionsOf(*this, *context);
        const TextureSearchPlaces texturePlaces = GetTextureSearchPlaces(*host);
        DesignWriteTables writeTables;
        DesignWrite write {*writer, writeOptions, *this, writeTables, context->rejectedBoxes, texturePlaces};
        const auto& components = designRoot->data.Components;

        progressTotal = static_cast<int32_t>(components.Count()) + 1;
        progressCount = 0;
        host->ProgressEnd();
        host->ProgressStart(kTitleWriting);
        ReportProgress();

        const std::string sceneTitle = SceneTitleOf(*host);
        const int64_t rootLuid
            = WriteDatabaseRoot(*writer, sceneTitle.c_str(), designRoot->data.Aabb, writeRootInstance);

        if (!singleObjectActive && !components.IsEmpty()) {
            // The root record stands for the design root, whose instances it receives: the groups
            // the design root owns are written as its groups.
            if (rootLuid >= 0)
                designRoot->guid.dbid = rootLuid;
            WriteLibraryObjects(write, rootLuid, components);
            objectsFound = true;
        } else {
            designRoot->data.properties.SetText(
                ZR::MakePropertyKey(kImportTemplateName, ZR::PROPERTY_TYPE_IMPORT_TEMPLATE),
                kImportTemplateValue);
            WriteLogLine(kLogLibraryObject);
            WriteLogLine(designRoot->name.c_str());
            // A row of the merged object refused: the object is reported as failed, the rest stays.
            const SqlWriter::FailureMark mark = writer->MarkFailures();
            objectsFound = WriteCompositeObject(write, *designRoot, true, false);
            if (writer->ClaimFailuresSince(mark) > 0)
                AddFailedObject(designRoot->name.c_str());
            if (objectsFound && writeRootInstance)
                WriteRootInstance(*writer, rootLuid, *designRoot);
        }
        StepProgress();
        // A refused row that an object claimed cost that object (a failed object). A failure that
        // leaves the file unusable, or a refused row of the design's own records, fails the run:
        // the design must not replace the previous target.
        if (writer->FatalFailures() > 0 || writer->FailedStatements() > writer->ClaimedFailures())
            writingError_ = std::to_string(writer->FailedStatements())
                + " database statement(s) failed; the design would be incomplete";
    } catch (const std::exception& error) {
        writingError_ = error.what();
        objectsFound = false;
    } catch (...) {
        writingError_ = "unknown exception";
        objectsFound = false;
    }
    MarkRunPhase(RunPhase::Written);

    EmptyConversionTables();
    return objectsFound;
}

} // namespace vx
