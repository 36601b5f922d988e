// The library as the converter's loader sees it: opened by file name, the
// two entries found by name, nothing else exported.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "kx_test_records.h"

namespace {

using SetInfoFn = void (*)(const CurrentDataInfo*);
using QualityFn = void (*)(const CurrentQualityParams*, CurrentSample*, CurrentQualityFlags*, CurrentQualityResult*);

class KxExports : public ::testing::Test {
protected:
    void SetUp() override {
        handle_ = dlopen(KXCURRENTL_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle_ != nullptr) dlclose(handle_);
    }
    void* handle_ = nullptr;
};

TEST_F(KxExports, EntriesEvaluateAProfile) {
    auto setInfo = reinterpret_cast<SetInfoFn>(dlsym(handle_, "KXSetCurrentDataInfo"));
    auto quality = reinterpret_cast<QualityFn>(dlsym(handle_, "KXCurrentQuality"));
    ASSERT_NE(setInfo, nullptr);
    ASSERT_NE(quality, nullptr);

    kxtest::Records r = kxtest::MakeRecords(2, 3, kCoordinatesInstrument);
    r.SetVelocity(1, {0, 100, 0});
    setInfo(&r.info);
    quality(&r.params, &r.sample, &r.flags, &r.result);
    EXPECT_EQ(r.result.direction[1], 270.0f);
    EXPECT_FLOAT_EQ(r.result.speed[1], 0.1f);
    EXPECT_EQ(r.result.status[1], kStatusValid);
}

TEST_F(KxExports, InternalFunctionsStayHidden) {
    // kx::Identity() and kx::EvaluateProfile are in the library but not exported.
    EXPECT_EQ(dlsym(handle_, "_ZN2kx8IdentityEv"), nullptr);
    EXPECT_EQ(dlsym(handle_, "EvaluateProfile"), nullptr);
}

}  // namespace
