// BrRAGConfigCache: the configuration cache that also holds the framework's section "RAG".
#pragma once

#include "engine/kernel/BrConfigCache.h"

// The engine's settings plus [RAG] PlayerTypes, AppType, HUDType, Configs (texts, empty by default), StartLevel
// and ShowIntro (integers, 1 by default). The host creates and owns it.
class BrRAGConfigCache : public BrConfigCache {
public:
  // The section the framework's keys live in.
  static const char* const cszSection;

  // An empty cache.
  BrRAGConfigCache();
  ~BrRAGConfigCache() override;

  // The engine's keys (false, reading nothing more, when that fails), then every [RAG] key: its default,
  // replaced by the file's non-empty value. True.
  bool ReadConfigFromFile(BrCfgFile* file) override;
  // The engine's sections, then the section RAG. False when any part fails.
  bool WriteConfigToFile(BrCfgFile* file) override;
};
