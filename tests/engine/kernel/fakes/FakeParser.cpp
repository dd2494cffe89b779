// A recording format-parser plug-in: extraction succeeds unless [App] FakeExtract is 0; conversion is logged.
#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrFmtParseBase.h"
#include "engine/kernel/BrPlugin.h"

namespace {
class FakeParserDevice : public BrFmtParseBase {
public:
  ~FakeParserDevice() override { GLog.WriteLine("FAKE: parser deleted"); }
  bool Init() override {
    GLog.WriteLine("FAKE: parser Init");
    return true;
  }
  bool Exit() override { return true; }
  bool ExtractInfo(BrStringT<char>& path, int32_t flags) override {
    int extract = 1;
    if (Engine().GetConfig()) Engine().GetConfig()->GetInteger("App", "FakeExtract", extract);
    GLog.printf("FAKE: parser extract %s %d", path.c_str() ? path.c_str() : "", (int)flags);
    return extract != 0;
  }
  bool ParserOperation1() override { return false; }
  bool Convert(BrMap* map) override {
    GLog.printf("FAKE: parser convert %s", map ? "into a map" : "without a map");
    return true;
  }
  bool ParserOperation2() override { return false; }
};
}  // namespace

BR_PLUGIN_EXPORT BrFmtParseBase* fnGetFormatParser() { return new FakeParserDevice(); }

BR_PLUGIN_EXPORT void fnDeleteFormatParser(BrFmtParseBase* device) { delete device; }
