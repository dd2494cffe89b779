// Every item kind of the shipped configuration that a player can find, found by walking onto its pickup and
// clicked in the inventory through window messages, in a running game: food heals and fuel fills the lantern by
// the amount the item's text names, potions apply what they hold once per charge, equipment goes on and comes off,
// and what a click cannot use (ammunition, rope) stays in the pack. Catches an item the player can carry but never
// use, an item a click destroys without its effect, and content whose keys the click rule does not accept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/world/BrRAGArmour.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGMutator.h"
#include "engine/kernel/kernel.h"
#include "tests/play/PlayPack.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

namespace {

using Section = std::map<std::string, std::string>;

// The sections of the configuration files with their keys, as written.
std::map<std::string, Section> ReadSections(const fs::path& configDir) {
  std::map<std::string, Section> sections;
  for (const auto& entry : fs::directory_iterator(configDir)) {
    if (entry.path().extension() != ".cfg") continue;
    std::ifstream in(entry.path());
    Section* current = nullptr;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
        current = &sections[line.substr(1, line.size() - 2)];
      } else if (current && line.find('=') != std::string::npos && line[0] != '#') {
        (*current)[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
      }
    }
  }
  return sections;
}

// The item kinds a player can find: every section X for which a section "PickupX" exists.
std::vector<std::string> FindableKinds(const std::map<std::string, Section>& sections) {
  std::vector<std::string> kinds;
  for (const auto& [name, keys] : sections)
    if (name.rfind("Pickup", 0) == 0 && sections.count(name.substr(6))) kinds.push_back(name.substr(6));
  return kinds;
}

// A list value of the configuration ("a,b" with no brackets, or one entry holding brackets) split at the commas
// that stand outside brackets.
std::vector<std::string> ListOf(const std::string& value) {
  std::vector<std::string> out;
  std::string part;
  int depth = 0;
  for (char c : value) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      out.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) out.push_back(part);
  return out;
}

bool IsA(BrGameObj* object, const char* className) { return object && object->IsA(dtiClass(className, nullptr)); }

// A use effect's mutator class: "Heal(20)" is a MUTHeal.
std::string MutatorOf(const std::string& effect) { return "MUT" + effect.substr(0, effect.find('(')); }

class PackClick : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(StartPlaying(m_Tree, m_Host, 31337, 0.5f)) << m_Host.State();
    PutAwayMonsters(m_Host);
  }
  void TearDown() override {
    m_Host.Leave();
    EXPECT_EQ(m_Tree.Find("ERROR"), -1) << m_Tree.Log()[size_t(std::max(0, m_Tree.Find("ERROR")))];
  }

  BrRAGPlayer* Player() { return m_Host.Player(); }

  PlayTree m_Tree;
  PlayHost m_Host;
  PlayScript m_Script{m_Host};
  PlayPack m_Pack{m_Host, m_Script};
};

}  // namespace

TEST_F(PackClick, EveryFindableItemKindDoesWhatItsTextSaysWhenItsCellIsClicked) {
  const std::map<std::string, Section> sections = ReadSections(m_Tree.Media() / "Config");
  const std::vector<std::string> kinds = FindableKinds(sections);
  ASSERT_GE(kinds.size(), 30u) << "the shipped configuration lost its pickups";
  int food = 0, fuel = 0, potions = 0, equipment = 0, inert = 0;
  for (const std::string& kind : kinds) {
    SCOPED_TRACE(kind);
    const int slot = m_Pack.Find("Pickup" + kind, kind);
    ASSERT_GE(slot, 0) << m_Pack.Why();
    BrRAGItem* item = m_Pack.ItemIn(slot);
    ASSERT_NE(item, nullptr);
    const int itemId = item->GetID();
    const int held = m_Pack.Count(kind);
    const std::string text = m_Pack.HoverText(slot);
    BrRAGPlayer* player = Player();
    ASSERT_NE(player, nullptr);
    EXPECT_NE(text.find(sections.at(kind).at("Text")), std::string::npos) << "the cell shows \"" << text << "\"";

    if (IsA(item, "Food")) {
      ++food;
      const int restore = RestoreNoted(text);
      ASSERT_GT(restore, 0) << "the text \"" << text << "\" names no amount";
      player->SetHealth(player->GetMaxHealth() / 4);
      const int before = player->GetHealth();
      ASSERT_TRUE(m_Pack.ClickCell(slot)) << m_Pack.Why();
      EXPECT_EQ(Player()->GetHealth(), std::min(Player()->GetMaxHealth(), before + restore));
      EXPECT_EQ(m_Pack.Count(kind), held - 1) << "eaten food stays in the pack";
    } else if (IsA(item, "Fuel")) {
      ++fuel;
      const int restore = RestoreNoted(text);
      ASSERT_GT(restore, 0) << "the text \"" << text << "\" names no amount";
      player->AddOil(20.0f - player->GetOilRemaining());
      const float before = player->GetOilRemaining();
      ASSERT_TRUE(m_Pack.ClickCell(slot)) << m_Pack.Why();
      EXPECT_NEAR(Player()->GetOilRemaining(), std::min(100.0f, before + float(restore)), 0.5f);
      EXPECT_EQ(m_Pack.Count(kind), held - 1) << "burnt oil stays in the pack";
    } else if (IsA(item, "BrRAGDemoEquipment") && item->GetStackSize() < 1) {
      ++equipment;
      auto* worn = static_cast<BrRAGDemoEquipment*>(item);
      auto* armour = static_cast<BrRAGArmour*>(item->SafeCast(&BrRAGArmour::Type));
      ASSERT_TRUE(m_Pack.ClickCell(slot)) << m_Pack.Why();
      EXPECT_TRUE(worn->IsEquipped()) << "a click did not put it on";
      // What it replaced on its limb came off; the armour class counts this piece's defence while it is worn.
      const float wearing = Player()->GetArmourClass();
      ASSERT_TRUE(m_Pack.ClickCell(slot)) << m_Pack.Why();
      EXPECT_FALSE(worn->IsEquipped()) << "a second click did not take it off";
      if (armour) {
        EXPECT_GT(armour->GetDefence(), 0.0f);
        EXPECT_FLOAT_EQ(wearing - Player()->GetArmourClass(), armour->GetDefence());
      }
      EXPECT_EQ(m_Pack.Count(kind), held);
      // Dropped again (a right click), so that the pack keeps room for the kinds still to come.
      for (int tries = 0; tries < 8 && m_Pack.Count(kind) == held; ++tries) m_Pack.RightClickCell(slot);
      EXPECT_EQ(m_Pack.Count(kind), held - 1) << "a right click never dropped it";
    } else if (item->GetCharges() > 0) {
      ++potions;
      const int charges = item->GetCharges();
      const Section& keys = sections.at(kind);
      const std::vector<std::string> effects =
          keys.count("UseEffects") ? ListOf(keys.at("UseEffects")) : std::vector<std::string>();
      ASSERT_EQ(int(effects.size()), item->GetNumUseEffects());
      ASSERT_FALSE(effects.empty()) << "charges without an effect";
      for (int use = 1; use <= charges; ++use) {
        SCOPED_TRACE("use " + std::to_string(use));
        // Each effect is given a reason to show: a wound to heal, a poison to remove.
        for (const std::string& effect : effects) {
          if (effect.rfind("Heal", 0) == 0) Player()->SetHealth(Player()->GetMaxHealth() / 4);
          if (effect.rfind("Remove(", 0) == 0) {
            Player()->ApplyMutator(BrStringT<char>("Poison(0.1)"), false);
            ASSERT_NE(Player()->GetMutator(BrStringT<char>("MUTPoison"), false), nullptr);
          }
        }
        const int before = Player()->GetHealth();
        ASSERT_TRUE(m_Pack.ClickCell(m_Pack.SlotOf(kind))) << m_Pack.Why();
        for (const std::string& effect : effects) {
          if (effect.rfind("Heal", 0) == 0) {
            // "Heal(n)" heals n points at once, up to the maximum.
            const int amount = std::atoi(effect.c_str() + effect.find('(') + 1);
            ASSERT_GT(amount, 0) << effect;
            EXPECT_EQ(Player()->GetHealth(), std::min(Player()->GetMaxHealth(), before + amount)) << effect;
          } else if (effect.rfind("Remove(", 0) == 0) {
            const std::string gone = effect.substr(7, effect.find_first_of("*)") - 7);
            EXPECT_EQ(Player()->GetMutator(BrStringT<char>(gone.c_str()), false), nullptr) << effect;
          } else {
            EXPECT_NE(Player()->GetMutator(BrStringT<char>(MutatorOf(effect).c_str()), false), nullptr)
                << effect << " was not applied";
          }
        }
        // Charges=n: the item stays for n - 1 clicks and leaves with the last.
        EXPECT_EQ(m_Pack.Count(kind), use < charges ? held : held - 1);
        EXPECT_EQ(IsA(m_Host.Map()->GetObjectA(itemId), "BrRAGItem") && m_Host.Map()->GetObjectA(itemId)->IsValid(),
                  use < charges);
      }
    } else {
      ++inert;
      // Nothing a click can use: it must not vanish either.
      ASSERT_TRUE(m_Pack.ClickCell(slot)) << m_Pack.Why();
      EXPECT_EQ(m_Pack.Count(kind), held) << "a click destroyed \"" << text << "\" without an effect";
      EXPECT_TRUE(m_Host.Map()->GetObjectA(itemId)->IsValid());
    }
  }
  // The shipped kinds cover every way of use.
  EXPECT_GE(food, 4);
  EXPECT_GE(fuel, 1);
  EXPECT_GE(potions, 5);
  EXPECT_GE(equipment, 15);
  EXPECT_GE(inert, 1);
}
