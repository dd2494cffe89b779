// BrRAGArmour: equipment that adds its defence to the wearer's armour class.
#pragma once

#include "adventure/world/BrRAGDemoEquipment.h"

// Armour adds bonus + defence to the wearer's armour class while it is worn and takes exactly that off again.
class BrRAGArmour : public BrRAGDemoEquipment {
  BR_DECLARE_CLASS(BrRAGArmour)
public:
  // Defence 0.
  BrRAGArmour();
  BrRAGArmour(const BrRAGArmour& other);
  BrRAGArmour& operator=(const BrRAGArmour& other);
  ~BrRAGArmour() override;

  // The equipment's keys, then Defence, and " (defence d)" appended to the text.
  void LoadScript(const char* section, BrCfgFile* cfg) override;
  // After a successful equipment Equip, the actor's armour class grows by GetDefence.
  bool Equip(BrRAGActor* actor, bool silent = false) override;
  // When it was worn: the equipment's Unequip, then the armour class loses GetDefence.
  void Unequip(BrRAGActor* actor) override;
  // With a bonus: "+bonus name (defence d)"; else the text.
  BrStringT<char> GetDisplayText() override;

  // Bonus + defence.
  float GetDefence() const { return float(m_iBonus) + m_fDefence; }
  void SetDefence(float defence) { m_fDefence = defence; }

protected:
  float m_fDefence;
};
