// Food and Fuel: consumable items that heal their eater or fill the player's lantern.
#include "game/Food.h"

#include <cstdio>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGDamage.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrSoundFX.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(Food, BrRAGItem)
BR_IMPLEMENT_CLASS(Fuel, BrRAGItem)

namespace {

const int ciDefaultRestore = 10;

// Reads "Restore" into amount and notes it after the item's text; false when the key is missing.
bool LoadRestore(BrGameObj& item, const char* section, BrCfgFile* file, int32_t& amount) {
  BrScriptDaemon* script = Engine().Script();
  float value = 0.0f;
  if (!script || !file || !script->LoadProperty(value, section, file, "Restore")) return false;
  amount = brTruncate(value);
  char note[64];
  std::snprintf(note, sizeof(note), " (restores %i)", int(amount));
  item.SetText(item.GetText() + note);
  return true;
}

}  // namespace

Food::Food() : m_iRestore(0) {}

Food::~Food() {}

bool Food::Init() {
  BrGameObj::Init();
  m_iRestore = ciDefaultRestore;
  return true;
}

void Food::LoadScript(const char* section, BrCfgFile* file) {
  BrRAGItem::LoadScript(section, file);
  LoadRestore(*this, section, file, m_iRestore);
  BrAudioMgrBase* audio = Engine().Audio();
  BrSoundFX* sound = audio ? audio->GetAudio(UseSound()) : nullptr;
  if (sound && sound->GetFileName() == BrStringT<char>("Sounds\\pickup.wav"))
    audio->CreateAudio(BrStringT<char>("Sounds\\eat.wav"), UseSound());
}

bool Food::Use(BrRAGActor* actor) {
  if (actor) {
    BrRAGDamage heal;
    heal.SetPoints(-float(m_iRestore));
    BrStringT<char> edge("Internal");
    heal.AddEdge(edge);
    actor->TakeDMG(heal);
  }
  return BrRAGItem::Use(actor);
}

void Food::Serialize(BrBin& bin) { BrRAGItem::Serialize(bin); }

Fuel::Fuel() : m_iRestore(0) {}

Fuel::~Fuel() {}

bool Fuel::Init() {
  BrGameObj::Init();
  m_iRestore = ciDefaultRestore;
  return true;
}

void Fuel::LoadScript(const char* section, BrCfgFile* file) {
  BrRAGItem::LoadScript(section, file);
  LoadRestore(*this, section, file, m_iRestore);
}

bool Fuel::Use(BrRAGActor* actor) {
  BrRAGPlayer* player = actor ? static_cast<BrRAGPlayer*>(actor->SafeCast(&BrRAGPlayer::Type)) : nullptr;
  if (!player) {
    GLog.DebugPrintf("WARNING: Non player entity tried to use oil\n");
    return false;
  }
  BrApplication* app = Engine().App();
  if (app) app->DisplayMsgf("%s fills his lantern", player->GetName() ? player->GetName() : "");
  player->AddOil(float(m_iRestore));
  return BrRAGItem::Use(actor);
}

void Fuel::Serialize(BrBin& bin) {
  BrRAGItem::Serialize(bin);
  bin.Stream(&m_iRestore, 4, 1);
}
