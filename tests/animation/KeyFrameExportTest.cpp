// The key-frame export of one node: which controllers count as animated, the key tracks read from
// the host's keys (linear, TCB, Bezier; XYZ and Euler through temporary controllers), sampling of
// the rest, and paths.

#include "AnimationTestSupport.h"

#include "animation/AnimationTime.h"
#include "animation/TransformSampling.h"
#include "toolkit/VMMessages.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

namespace vxtest {
namespace {

using vx::AnimationBuilder;

template <class Track> const Track& TrackIn(const AnimationBuilder& builder, int slot)
{
    const vx::VMRef<vx::VMTrack>& track = builder.GetSlot(slot);
    static const Track kEmpty;
    EXPECT_TRUE(track) << "slot " << slot << " is empty";
    if (!track)
        return kEmpty;
    EXPECT_EQ(track->GetClass(), Track::kTrackClass) << "slot " << slot;
    if (track->GetClass() != Track::kTrackClass)
        return kEmpty;
    return static_cast<const Track&>(*track);
}

std::vector<int32_t> TimesOf(const vx::VMTrack& track)
{
    std::vector<int32_t> times;
    for (int32_t i = 0; i < track.NumKeys(); ++i)
        times.push_back(track.GetKeyValue(i).time);
    return times;
}

void ExpectQuat(const vx::Quaternion& actual, const vx::Quaternion& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
    EXPECT_NEAR(actual.w, expected.w, 1e-5f);
}

constexpr float kHalfSqrt2 = 0.70710677f;

using KeyFrameExport = AnimatedSceneFixture;

TEST(TicksToMilliseconds, TruncatesTowardsZeroAndSaturates)
{
    const struct {
        int64_t ticks;
        int32_t ms;
    } cases[] = {{0, 0}, {1, 0}, {-1, 0}, {4, 0}, {5, 1}, {-5, -1}, {4799, 999}, {4800, 1000}, {-4800, -1000},
        {INT32_MAX, 447392426}, {INT64_C(1) << 40, INT32_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(vx::TicksToMilliseconds(c.ticks), c.ms) << c.ticks;
}

TEST_F(KeyFrameExport, NodesWithoutAnimatedControllersGiveNoKindAndNoBlob)
{
    const char* cases[] = {
        // one key is not an animation, nor a controller marked as not animated
        R"({"position": {"type": "linear", "keys": [{"time": 0, "value": [1, 2, 3]}]}})",
        R"({"rotation": {"type": "linear", "animated": false,
            "keys": [{"time": 0, "value": [0, 0, 0, 1]}, {"time": 10, "value": [0, 0, 1, 0]}]}})",
        // XYZ whose three sub-controllers are static
        R"({"position": {"type": "xyz", "x": {"type": "linear"}, "y": {"type": "linear"}, "z": {"type": "linear"}}})",
    };
    for (const char* animation : cases) {
        LoadNode(animation);
        AnimationBuilder& result = Build();
        EXPECT_EQ(result.GetKind(), vx::kAnimationNone) << animation;
        EXPECT_EQ(result.Serialise(), 0u) << animation;
        EXPECT_TRUE(result.GetBlob().empty());
    }
    // A node without a transform controller at all.
    Load(AnimatedScene(R"("nodes": [{"name": "n"}])"));
    EXPECT_EQ(Build().GetKind(), vx::kAnimationNone);
}

TEST_F(KeyFrameExport, LinearPositionKeysInMillisecondsAndTheDesignFrame)
{
    scaleFactor = 0.01f;
    LoadNode(R"({"position": {"type": "linear",
        "keys": [{"time": 0, "value": [100, 200, 300]}, {"time": 30, "value": [400, 500, 600]}]}})");
    AnimationBuilder& result = Build();
    EXPECT_EQ(result.GetKind(), vx::kAnimationKeys);
    const auto& track = TrackIn<vx::VMVectorTrack>(result, AnimationBuilder::kSlotPosition);
    ASSERT_EQ(track.NumKeys(), 2);
    EXPECT_EQ(TimesOf(track), (std::vector<int32_t> {0, 1000}));
    EXPECT_EQ(track.Keys()[0].value, (vx::Vector3 {1, 3, 2}));
    EXPECT_EQ(track.Keys()[1].value, (vx::Vector3 {4, 6, 5}));
    EXPECT_FALSE(result.GetSlot(AnimationBuilder::kSlotRotation));
    EXPECT_FALSE(result.GetSlot(AnimationBuilder::kSlotScale));
}

TEST_F(KeyFrameExport, KeyTimesAreTruncatedTicks)
{
    LoadNode(R"({"position": {"type": "linear", "keys": [{"time": -1, "value": [0, 0, 0]},
        {"time": 1, "value": [1, 0, 0]}, {"time": 4801, "value": [2, 0, 0]}]}})",
        R"({"timeUnit": "ticks", "end": 9600})");
    EXPECT_EQ(TimesOf(TrackIn<vx::VMVectorTrack>(Build(), 0)), (std::vector<int32_t> {0, 0, 1000}));
}

TEST_F(KeyFrameExport, TcbPositionKeepsItsValuesWithNearZeroOnesCleared)
{
    LoadNode(R"({"position": {"type": "tcb", "keys": [
        {"time": 0, "value": [1, 2, 3], "tension": 25, "continuity": 0.00001, "bias": -3},
        {"time": 15, "value": [4, 5, 6], "tension": -0.00001, "continuity": 10, "bias": 0}]}})");
    const auto& track = TrackIn<vx::VMVectorTCBTrack>(Build(), 0);
    ASSERT_EQ(track.NumKeys(), 2);
    EXPECT_EQ(track.Keys()[0], (vx::VMVectorTCBKey {0, {1, 3, 2}, 25, 0, -3}));
    EXPECT_EQ(track.Keys()[1], (vx::VMVectorTCBKey {500, {4, 6, 5}, 0, 10, 0}));
}

TEST_F(KeyFrameExport, BezierPositionTangentsAreScaledByTheTicksToTheNeighbouringKeys)
{
    scaleFactor = 0.5f;
    LoadNode(R"({"position": {"type": "bezier", "keys": [
        {"time": 0, "value": [0, 0, 0], "in": [1, 2, 3], "out": [1, 2, 3]},
        {"time": 30, "value": [2, 4, 6], "in": [1, 0, 0], "out": [0, 0, 2]},
        {"time": 45, "value": [0, 0, 0], "in": [0, 1, 0], "out": [5, 5, 5]}]}})");
    const auto& track = TrackIn<vx::VMVectorBezierTrack>(Build(), 0);
    ASSERT_EQ(track.NumKeys(), 3);
    // First key: no previous key, so its in-tangent is zero; the next key is 4800 ticks away.
    EXPECT_EQ(track.Keys()[0].inTangent, (vx::Vector3 {0, 0, 0}));
    EXPECT_EQ(track.Keys()[0].outTangent, (vx::Vector3 {0.5f * 4800, 1.5f * 4800, 1.0f * 4800}));
    EXPECT_EQ(track.Keys()[1].value, (vx::Vector3 {1, 3, 2}));
    EXPECT_EQ(track.Keys()[1].inTangent, (vx::Vector3 {0.5f * -4800, 0, 0}));
    EXPECT_EQ(track.Keys()[1].outTangent, (vx::Vector3 {0, 1.0f * 2400, 0}));
    EXPECT_EQ(track.Keys()[2].inTangent, (vx::Vector3 {0, 0, 0.5f * -2400}));
    EXPECT_EQ(track.Keys()[2].outTangent, (vx::Vector3 {0, 0, 0}));
}

TEST_F(KeyFrameExport, TcbRotationKeysAreTheRunningProductOfTheirRelativeRotations)
{
    LoadNode(R"({"rotation": {"type": "tcb", "keys": [
        {"time": 0, "axis": [0, 0, 1], "angle": 90, "tension": 25},
        {"time": 30, "axis": [0, 0, 1], "angle": 90}]}})");
    AnimationBuilder& result = Build();
    const auto& track = TrackIn<vx::VMQuatTCBTrack>(result, AnimationBuilder::kSlotRotation);
    ASSERT_EQ(track.NumKeys(), 2);
    EXPECT_EQ(track.Keys()[0].tension, 25.0f);
    // 90 and then 180 degrees about the host's z axis, which is the design's y axis; the mirrored
    // frame turns the other way round.
    ExpectQuat(track.Keys()[0].value, {0, -kHalfSqrt2, 0, kHalfSqrt2});
    ExpectQuat(track.Keys()[1].value, {0, -1, 0, 0});
    EXPECT_EQ(track.Keys()[1].value.x, 0.0f); // near-zero components are exactly zero
    result.Serialise();
    // rotation interpolation code 3 after the header, the position code and count 0
    EXPECT_EQ(result.GetBlob()[24], 3);
}

// The rotation keys stored in a blob of kind -1: after the header and the position keys, the
// rotation interpolation, the count and (time, x, y, z, w) per key.
std::vector<vx::Quaternion> StoredRotations(const std::vector<unsigned char>& blob)
{
    auto word = [&](size_t offset) {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | blob.at(offset + static_cast<size_t>(i));
        return value;
    };
    auto real = [&](size_t offset) {
        const uint32_t bits = word(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    const size_t rotationAt = 24 + 16 * size_t {word(20)};
    const uint32_t count = word(rotationAt + 4);
    std::vector<vx::Quaternion> keys;
    for (size_t i = 0, at = rotationAt + 8; i < count; ++i, at += 20)
        keys.push_back({real(at + 4), real(at + 8), real(at + 12), real(at + 16)});
    return keys;
}

// The turn in degrees from a to b, for rotations about the design's y axis (the host's z axis,
// turning the other way round in the mirrored frame): what a reader interpolating from a to b as
// stored turns by, positive in the host's sense.
float TurnDegrees(const vx::Quaternion& a, const vx::Quaternion& b)
{
    const float dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    const float sine = a.y * b.w - a.w * b.y;
    return 2.0f * std::atan2(sine, dot) * 180.0f / std::numbers::pi_v<float>;
}

TEST_F(KeyFrameExport, StoredRotationsTurnTheWayTheSceneTurnsPastHalfATurn)
{
    // A wheel turning a whole turn about the host's z axis in steps of 120 degrees: relative TCB
    // keys, absolute linear keys as the host writes them (w >= 0, so the sign flips past half a
    // turn), Euler angles, and samples every 5 frames of a controller of another class.
    const char* linearKeys = R"("keys": [{"time": 0, "value": [0, 0, 0, 1]},
        {"time": 10, "value": [0, 0, 0.8660254, 0.5]}, {"time": 20, "value": [0, 0, -0.8660254, 0.5]},
        {"time": 30, "value": [0, 0, 0, 1]}])";
    const struct {
        const char* what;
        std::string animation;
        size_t keys;
        float stepDegrees;
    } cases[] = {
        {"TCB keys", R"({"rotation": {"type": "tcb", "keys": [{"time": 0, "axis": [0, 0, 1], "angle": 0},
            {"time": 10, "axis": [0, 0, 1], "angle": 120}, {"time": 20, "axis": [0, 0, 1], "angle": 120},
            {"time": 30, "axis": [0, 0, 1], "angle": 120}]}})",
            4, 120.0f},
        {"linear keys", std::string(R"({"rotation": {"type": "linear", )") + linearKeys + "}}", 4, 120.0f},
        {"Euler angles", R"({"rotation": {"type": "euler",
            "x": {"type": "linear", "keys": [{"time": 0, "value": 0}]},
            "y": {"type": "linear", "keys": [{"time": 0, "value": 0}]}, "z": {"type": "linear", "keys": [
            {"time": 0, "value": 0}, {"time": 10, "value": 2.0943952}, {"time": 20, "value": 4.1887903},
            {"time": 30, "value": 6.2831855}]}}})",
            4, 120.0f},
        {"samples", std::string(R"({"rotation": {"type": "other", "classId": [8, 8], )") + linearKeys + "}}",
            7, 60.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoadNode(c.animation);
        AnimationBuilder& result = Build();
        ASSERT_GT(result.Serialise(), 0u);
        const std::vector<vx::Quaternion> stored = StoredRotations(result.GetBlob());
        ASSERT_EQ(stored.size(), c.keys);
        ExpectQuat(stored.front(), {0, 0, 0, 1});
        for (size_t i = 1; i < stored.size(); ++i) {
            const vx::Quaternion& a = stored[i - 1];
            const vx::Quaternion& b = stored[i];
            EXPECT_GE(a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w, 0.0f) << "keys " << i - 1 << ", " << i;
            EXPECT_NEAR(TurnDegrees(a, b), c.stepDegrees, 0.01f) << "keys " << i - 1 << ", " << i;
        }
    }
}

TEST_F(KeyFrameExport, KeyedAndSampledRotationsAgree)
{
    // The same turn once as linear rotation keys and once sampled from a controller of another class.
    const std::string keys = R"("keys": [{"time": 0, "value": [0, 0, 0, 1]},
        {"time": 10, "value": [0.2, 0.3, 0.4, 0.8]}])";
    LoadNode(R"({"rotation": {"type": "linear", )" + keys + "}}");
    const vx::Quaternion keyed = TrackIn<vx::VMQuatTrack>(Build(), 1).Keys()[1].value;
    LoadNode(R"({"rotation": {"type": "other", "classId": [1, 2], )" + keys + "}}");
    const auto& sampled = TrackIn<vx::VMQuatTrack>(Build(), 1);
    ASSERT_EQ(sampled.NumKeys(), 3);
    ExpectQuat(sampled.Keys()[2].value, keyed);
}

TEST_F(KeyFrameExport, EulerRotationIsReadThroughATemporaryLinearRotation)
{
    LoadNode(R"({"rotation": {"type": "euler",
        "x": {"type": "linear", "keys": [{"time": 0, "value": 0}, {"time": 10, "value": 0}]},
        "y": {"type": "linear", "keys": [{"time": 0, "value": 0}]},
        "z": {"type": "linear", "keys": [{"time": 0, "value": 0}, {"time": 20, "value": 1.5707964}]}}})");
    const auto& track = TrackIn<vx::VMQuatTrack>(Build(), AnimationBuilder::kSlotRotation);
    // One key per distinct sub-key time: frames 0, 10 (z half way) and 20.
    EXPECT_EQ(TimesOf(track), (std::vector<int32_t> {0, 333, 666}));
    ExpectQuat(track.Keys()[0].value, {0, 0, 0, 1});
    ExpectQuat(track.Keys()[2].value, {0, -kHalfSqrt2, 0, kHalfSqrt2});
    const float quarter = std::sin(0.3926991f);
    ExpectQuat(track.Keys()[1].value, {0, -quarter, 0, std::cos(0.3926991f)});
}

TEST_F(KeyFrameExport, XyzPositionTakesTheKeyClassOfItsSubControllers)
{
    LoadNode(R"({"position": {"type": "xyz",
        "x": {"type": "bezier", "keys": [{"time": 0, "value": 1, "out": 2}, {"time": 30, "value": 3, "in": 1}]},
        "y": {"type": "bezier", "keys": [{"time": 0, "value": 5}]},
        "z": {"type": "bezier", "keys": [{"time": 30, "value": 7}]}}})");
    const auto& track = TrackIn<vx::VMVectorBezierTrack>(Build(), 0);
    ASSERT_EQ(track.NumKeys(), 2);
    EXPECT_EQ(track.Keys()[0].value, (vx::Vector3 {1, 7, 5}));
    EXPECT_EQ(track.Keys()[0].outTangent, (vx::Vector3 {2 * 4800.0f, 0, 0}));
    EXPECT_EQ(track.Keys()[1].value, (vx::Vector3 {3, 7, 5}));
    EXPECT_EQ(track.Keys()[1].inTangent, (vx::Vector3 {-4800.0f, 0, 0}));

    // Sub-controllers of different classes are not read as keys: the position is sampled.
    LoadNode(R"({"position": {"type": "xyz",
        "x": {"type": "bezier", "keys": [{"time": 0, "value": 1}, {"time": 10, "value": 3}]},
        "y": {"type": "linear", "keys": [{"time": 0, "value": 5}]},
        "z": {"type": "bezier", "keys": [{"time": 0, "value": 7}]}}})");
    EXPECT_EQ(TimesOf(TrackIn<vx::VMVectorTrack>(Build(), 0)), (std::vector<int32_t> {0, 166, 333}));
}

TEST_F(KeyFrameExport, BezierScaleIsExportedAsTheLargestFactorWithAMessage)
{
    std::vector<std::string> messages;
    vx::ScopedMessageSink sink(
        [&](vx::VMMessageKind, std::string_view text) { messages.emplace_back(text); });
    LoadNode(R"({"scale": {"type": "bezier", "keys": [
        {"time": 0, "value": [1, 3, 2], "in": [1, 1, 1]}, {"time": 30, "value": [0.5, 0.25, 0.75]}]}})");
    const auto& track = TrackIn<vx::VMFloatTrack>(Build(), AnimationBuilder::kSlotScale);
    EXPECT_EQ(track.Keys(), (std::vector<vx::VMFloatKey> {{0, 3.0f}, {1000, 0.75f}}));
    EXPECT_EQ(messages, std::vector<std::string> {"Exporting bezier scaling as linear"});

    messages.clear();
    LoadNode(R"({"scale": {"type": "linear", "keys": [
        {"time": 0, "value": [1, 1, 1]}, {"time": 30, "value": [2, 1, 1]}]}})");
    EXPECT_EQ(TrackIn<vx::VMFloatTrack>(Build(), 2).NumKeys(), 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(KeyFrameExport, UnknownControllersAreSampledWithTheStepAndTheRangeEnd)
{
    // Position of another class that never moves, rotation of another class turning from frame 0
    // to frame 12: samples at frames 0, 5, 10 and 12; the unchanging position track is dropped.
    LoadNode(R"({"position": {"type": "other", "classId": [7, 7], "animated": true,
                   "keys": [{"time": 0, "value": [1, 2, 3]}, {"time": 12, "value": [1, 2, 3]}]},
                 "rotation": {"type": "other", "classId": [8, 8],
                   "keys": [{"time": 0, "value": [0, 0, 0, 1]}, {"time": 12, "value": [0, 0, 0.70710677, 0.70710677]}]}})");
    AnimationBuilder& result = Build();
    EXPECT_EQ(result.GetKind(), vx::kAnimationKeys);
    EXPECT_FALSE(result.GetSlot(AnimationBuilder::kSlotPosition));
    const auto& rotation = TrackIn<vx::VMQuatTrack>(result, AnimationBuilder::kSlotRotation);
    EXPECT_EQ(TimesOf(rotation), (std::vector<int32_t> {0, 166, 333, 400}));
    ExpectQuat(rotation.Keys()[3].value, {0, -kHalfSqrt2, 0, kHalfSqrt2});

    // A moving position of another class: the position is sampled (and the rotation made for it is
    // dropped, as it never turns). Scale samples are kept only when they change by more than 0.01.
    LoadNode(R"({"position": {"type": "other", "classId": [7, 7],
                   "keys": [{"time": 0, "value": [0, 0, 0]}, {"time": 5, "value": [10, 0, 0]}]},
                 "scale": {"type": "other", "classId": [9, 9],
                   "keys": [{"time": 0, "value": [1, 1, 1]}, {"time": 5, "value": [1.005, 1, 1]}]}})");
    AnimationBuilder& moving = Build();
    const auto& position = TrackIn<vx::VMVectorTrack>(moving, AnimationBuilder::kSlotPosition);
    EXPECT_EQ(position.Keys(), (std::vector<vx::VMVectorKey> {{0, {0, 0, 0}}, {166, {10, 0, 0}}}));
    EXPECT_FALSE(moving.GetSlot(AnimationBuilder::kSlotRotation));
    EXPECT_FALSE(moving.GetSlot(AnimationBuilder::kSlotScale));
}

TEST_F(KeyFrameExport, SamplingWithoutKeysSpansTheSceneRangeAndAlwaysEnds)
{
    // A controller without keys is sampled over the scene's range.
    LoadNode(R"({"position": {"type": "other", "classId": [7, 7], "animated": true}})",
        R"({"start": 10, "end": 20})");
    settings.forceSampling = true;
    EXPECT_EQ(Build().GetKind(), vx::kAnimationKeys);
    EXPECT_FALSE(builder->GetSlot(0)); // it never moves
    const std::string turning = R"({"rotation": {"type": "other", "classId": [8, 8], "keys": [
        {"time": 2147483640, "value": [0, 0, 0, 1]}, {"time": 2147483646, "value": [0, 0, 1, 0]}]}})";

    // A step below one tick moves one tick; samples near the end of host time (the last tick before
    // its infinity) end the loop.
    settings.sampleStepFrames = 0;
    LoadNode(turning, R"({"timeUnit": "ticks"})");
    EXPECT_EQ(TrackIn<vx::VMQuatTrack>(Build(), 1).NumKeys(), 7);

    settings.sampleStepFrames = 5;
    LoadNode(turning, R"({"timeUnit": "ticks"})");
    const auto& sparse = TrackIn<vx::VMQuatTrack>(Build(), 1);
    EXPECT_EQ(TimesOf(sparse), (std::vector<int32_t> {447392425, 447392426}));
}

TEST_F(KeyFrameExport, ForceSamplingSamplesKeyControllersToo)
{
    settings.forceSampling = true;
    LoadNode(R"({"position": {"type": "tcb",
        "keys": [{"time": 0, "value": [0, 0, 0]}, {"time": 10, "value": [10, 20, 30]}]}})");
    const auto& track = TrackIn<vx::VMVectorTrack>(Build(), 0);
    EXPECT_EQ(track.Keys(),
        (std::vector<vx::VMVectorKey> {{0, {0, 0, 0}}, {166, {5, 15, 10}}, {333, {10, 30, 20}}}));
}

// A scene with a path node "Track" (a shape, or the given object) and a node "n" on it.
std::string PathScene(const std::string& spline, const std::string& pathObject = "track")
{
    return AnimatedScene(R"("timeline": {"end": 60},
        "objects": [{"id": "track", "type": "shape", "splines": [)"
        + spline + R"(]},
                    {"id": "box", "type": "helper"}],
        "nodes": [{"name": "Track", "id": "track", "object": ")"
        + pathObject + R"(",
                   "transform": {"position": [100, 0, 0]}},
                  {"name": "n", "animation": {"position": {"type": "path", "path": "track",
                     "follow": true, "flip": true, "axis": 1,
                     "percent": {"type": "linear", "keys": [{"time": 0, "value": 0}, {"time": 60, "value": 100}]}}}}])");
}

TEST_F(KeyFrameExport, ClosedSplinePathRepeatsItsFirstKnot)
{
    Load(PathScene(R"({"closed": true, "knots": [
        {"point": [0, 0, 0], "in": [-1, 0, 0], "out": [1, 0, 0]}, {"point": [10, 0, 0]},
        {"point": [10, 10, 0]}, {"point": [0, 10, 5]}]})"));
    AnimationBuilder& result = Build();
    EXPECT_EQ(result.GetKind(), vx::kAnimationPath);
    const auto& path = TrackIn<vx::VMVectorBezierTrack>(result, AnimationBuilder::kSlotPosition);
    EXPECT_EQ(TimesOf(path), (std::vector<int32_t> {0, 1000, 2000, 3000, 4000}));
    // Points carried by the path node's transform into the design frame; tangents only turned.
    EXPECT_EQ(path.Keys()[0].value, (vx::Vector3 {100, 0, 0}));
    EXPECT_EQ(path.Keys()[3].value, (vx::Vector3 {100, 5, 10}));
    EXPECT_EQ(path.Keys()[0].inTangent, (vx::Vector3 {3, 0, 0}));
    EXPECT_EQ(path.Keys()[0].outTangent, (vx::Vector3 {3, 0, 0}));
    EXPECT_EQ(path.Keys()[4].value, path.Keys()[0].value);
    EXPECT_EQ(path.Keys()[4].inTangent, path.Keys()[0].inTangent);
    EXPECT_EQ(path.Keys()[4].outTangent, path.Keys()[0].outTangent);
    const auto& percent = TrackIn<vx::VMFloatTrack>(result, AnimationBuilder::kSlotPercentage);
    EXPECT_EQ(percent.Keys(), (std::vector<vx::VMFloatKey> {{0, 0.0f}, {2000, 100.0f}}));
    EXPECT_FALSE(result.GetSlot(AnimationBuilder::kSlotScale));
    ASSERT_TRUE(result.GetPathController());
    EXPECT_TRUE(result.GetPathController()->follow);
    EXPECT_TRUE(result.GetPathController()->followflip);
    EXPECT_EQ(result.GetPathController()->followaxis, 2);
}

TEST_F(KeyFrameExport, PathWithoutAUsableShapeIsSampled)
{
    // A closed spline without knots (no division by zero), a path node that shows no shape, and a
    // constraint without a path node: no path. The kind stays a path; the position is sampled, and
    // its track dropped as the constraint does not move it.
    const std::string cases[] = {
        PathScene(R"({"closed": true, "knots": []})"),
        PathScene(R"({"knots": [{"point": [0, 0, 0]}, {"point": [30, 0, 0]}]})", "box"),
        AnimatedScene(R"("nodes": [{"name": "n", "animation": {"position": {"type": "path"}}}])"),
    };
    for (const std::string& scene : cases) {
        Load(scene);
        AnimationBuilder& result = Build();
        EXPECT_EQ(result.GetKind(), vx::kAnimationPath);
        EXPECT_FALSE(result.GetPathController());
        EXPECT_FALSE(result.GetSlot(AnimationBuilder::kSlotPosition));
        // version, kind, range and three empty key lists
        EXPECT_EQ(result.Serialise(), 28u);
    }
}

TEST(TrackSharing, EqualTracksAreKeptOnce)
{
    vx::TrackSharing sharing;
    auto a = vx::MakeVMRef<vx::VMFloatTrack>();
    a->AddKey({0, 1.0f});
    auto b = vx::MakeVMRef<vx::VMFloatTrack>();
    b->AddKey({0, 1.0f});
    auto other = vx::MakeVMRef<vx::VMQuatTrack>();
    other->AddKey({0, {}});
    EXPECT_EQ(sharing.Share(vx::VMRef<vx::VMTrack>(a)).Get(), a.Get());
    EXPECT_EQ(sharing.Share(vx::VMRef<vx::VMTrack>(b)).Get(), a.Get());
    b->AddKey({10, 2.0f});
    EXPECT_EQ(sharing.Share(vx::VMRef<vx::VMTrack>(b)).Get(), b.Get());
    EXPECT_EQ(sharing.Share(vx::VMRef<vx::VMTrack>(other)).Get(), other.Get());
    EXPECT_EQ(sharing.Tracks().size(), 3u);
}

} // namespace
} // namespace vxtest

namespace vxtest {
namespace {

// A controller whose key interface reports keys it cannot hand out.
class UnreadableKeys final : public vx::HostController, private vx::HostKeyControl {
public:
    vx::HostClassId GetClassId() const override { return {5, 5}; }
    bool IsAnimated() const override { return true; }
    const vx::HostKeyControl* GetKeyControl() const override { return this; }
    int NumKeys() const override { return 0; }
    vx::HostTime GetKeyTime(int) const override { return 0; }
    vx::HostController* GetPositionController() const override { return nullptr; }
    vx::HostController* GetRotationController() const override { return nullptr; }
    vx::HostController* GetScaleController() const override { return nullptr; }
    vx::HostController* GetXController() const override { return nullptr; }
    vx::HostController* GetYController() const override { return nullptr; }
    vx::HostController* GetZController() const override { return nullptr; }
    vx::HostInterval GetTimeRange() const override { return vx::kIntervalForever; }
    vx::HostControllerValue GetValue(vx::HostTime, vx::HostInterval*) const override { return {}; }
    bool Copy(const vx::HostController*) override { return false; }
    vx::HostPathConstraint* GetPathConstraint() const override { return nullptr; }
    void DeleteThis() override { }

private:
    int GetNumKeys() const override { return 3; }
    bool GetKey(int, vx::HostKey*) const override { return false; }
};

TEST(KeyRange, UnreadableKeyLeavesTheRangeEmptyWithAMessage)
{
    std::vector<std::string> messages;
    vx::ScopedMessageSink sink(
        [&](vx::VMMessageKind, std::string_view text) { messages.emplace_back(text); });
    vx::AnimationContext context;
    context.objectName = "Door";
    EXPECT_EQ(vx::GetKeyRange(UnreadableKeys(), context), vx::kIntervalNever);
    EXPECT_EQ(messages, std::vector<std::string> {"Exception in GetKey: Door"});
}

} // namespace
} // namespace vxtest
