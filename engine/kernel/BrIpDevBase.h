// BrIpDevBase and the socket classes: the network ("IP service") device a plug-in implements.
#pragma once

#include <cstdint>

#include "core/BrObject.h"
#include "core/BrSubSystem.h"

class BrIpDevBase : public BrSubSystem {
public:
  BrIpDevBase();
  BrIpDevBase(const BrIpDevBase& other);
  BrIpDevBase& operator=(const BrIpDevBase& other);
  ~BrIpDevBase() override;

  bool Init() override = 0;
  bool Exit() override = 0;

protected:
  // Left for the device to set.
  int32_t m_iDeviceState;
};

// The socket kinds of the network interface; they add nothing to BrObject.
class BrSocket : public BrObject {};
class BrStreamSocket : public BrSocket {};
class BrDatagramSocket : public BrSocket {};
