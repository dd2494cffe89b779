// BrGameObj: ownership by id, destruction, turning and the archive form of every game object.
#include "engine/kernel/BrGameObj.h"

#include <cmath>

#include "core/BrLogFile.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrGUI.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrGameObj, BrStateMachine)

namespace {
BrMap* s_pScopedMap = nullptr;
const float kTwoPi = 6.2831855f;
// No level reaches this far from its centre, and no axis or offset is this long: a file that says otherwise is
// damaged, and an object placed there would only fall, or be drawn, out of every reach.
const float kMaxSavedExtent = 1.0e6f;

bool WithinExtent(const BrVector& v) {
  return std::fabs(v.x) <= kMaxSavedExtent && std::fabs(v.y) <= kMaxSavedExtent && std::fabs(v.z) <= kMaxSavedExtent;
}
}  // namespace

BrGameObj::BrGameObj()
    : m_Coords(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(0, 0, 0)),
      m_Text("Unknown"),
      m_iID(-1),
      m_bDrawnByMap(true),
      m_bPersistent(false),
      m_iOwner(-1),
      m_pHUD(nullptr),
      m_bPhysics(false) {}

BrGameObj::BrGameObj(const BrGameObj& other)
    : BrStateMachine(),
      m_Coords(other.m_Coords),
      m_Text(other.m_Text),
      m_iID(other.m_iID),
      m_bDrawnByMap(other.m_bDrawnByMap),
      m_bPersistent(other.m_bPersistent),
      m_iOwner(other.m_iOwner),
      m_Children(other.m_Children),
      m_pHUD(other.m_pHUD),
      m_HUDClass(other.m_HUDClass),
      m_DrawOffset(other.m_DrawOffset),
      m_bPhysics(other.m_bPhysics) {
  // The state machine's states are owned; a copy starts without any rather than sharing them.
  BrObject::operator=(other);
}

BrGameObj& BrGameObj::operator=(const BrGameObj& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_Coords = other.m_Coords;
  m_Text = other.m_Text;
  m_iID = other.m_iID;
  m_bDrawnByMap = other.m_bDrawnByMap;
  m_bPersistent = other.m_bPersistent;
  m_iOwner = other.m_iOwner;
  m_Children = other.m_Children;
  m_pHUD = other.m_pHUD;
  m_HUDClass = other.m_HUDClass;
  m_DrawOffset = other.m_DrawOffset;
  m_bPhysics = other.m_bPhysics;
  return *this;
}

BrGameObj::~BrGameObj() { BrGameObj::Destroy(); }

BrMap* BrGameObj::WorldMap() {
  if (s_pScopedMap) return s_pScopedMap;
  BrApplication* app = Engine().App();
  return app ? app->Map() : nullptr;
}

BrMap* BrGameObj::ScopeWorldMap(BrMap* map) {
  BrMap* previous = s_pScopedMap;
  s_pScopedMap = map;
  return previous;
}

void BrGameObj::Serialize(BrBin& bin) {
  BrStateMachine::Serialize(bin);
  bin << m_Coords;
  bin << m_Text;
  bin << m_iID;
  bin << m_bDrawnByMap;
  bin << m_bPersistent;
  bin << m_iOwner;
  bin << m_HUDClass;
  bin << m_DrawOffset;
  bin << m_bPhysics;
  m_Children.Serialize(bin);
  if (bin.IsLoading() && !bin.HasFailed() &&
      !(WithinExtent(m_Coords.Position) && WithinExtent(m_Coords.X) && WithinExtent(m_Coords.Y) &&
        WithinExtent(m_Coords.Z) && WithinExtent(m_DrawOffset))) {
    GLog.printf("ERROR: Saved object %s at (%g, %g, %g) has a position, axis or draw offset beyond any level",
                m_Text.c_str() ? m_Text.c_str() : "", double(m_Coords.Position.x), double(m_Coords.Position.y),
                double(m_Coords.Position.z));
    bin.MarkFailed(nullptr);
  }
}

bool BrGameObj::Init() {
  BrStateMachine::Init();
  CreateHUD();
  m_bPhysics = false;
  return true;
}

void BrGameObj::Step(float dt) {
  if (m_bPhysics) DoPhysics(dt);
  BrStateMachine::Step(dt);
}

void BrGameObj::Destroy() {
  BrMap* map = WorldMap();
  if (m_iOwner >= 0 && map) {
    map->GetObjectA(m_iOwner)->LostChild(m_iID);
    SetOwner(-1);
  }
  if (map) {
    for (auto* node = m_Children.GetHead(); node; node = node->next) map->GetObjectA(node->element)->LostOwner(m_iID);
  }
  m_Children.Clear();
  // The HUD control was given to the widget manager for this object alone: it goes with the object, or it would
  // stay drawn for the rest of the run (one more for every game loaded or refused).
  if (m_pHUD) {
    BrHUD* hud = m_pHUD;
    m_pHUD = nullptr;
    hud->Destroy();
    BrUIControl::DeleteControl(hud);
  }
  BrStateMachine::Destroy();
}

void BrGameObj::Draw(BrRenderBase* render) {
  BrStateMachine::Draw(render);
  DebugDraw(render);
  PerfDraw(render);
}

void BrGameObj::PostInit() {}
void BrGameObj::DebugDraw(BrRenderBase*) {}
void BrGameObj::PerfDraw(BrRenderBase*) {}
void BrGameObj::DoPhysics(float) {}

bool BrGameObj::SetOwner(int newOwner) {
  BrMap* map = WorldMap();
  if (!map) return false;
  if (m_iOwner != -1) map->GetObjectA(m_iOwner)->LostChild(m_iID);
  BrGameObj* owner = map->GetObjectA(newOwner);
  if (owner->IsValid()) owner->AddChild(m_iID);
  m_iOwner = newOwner;
  return true;
}

void BrGameObj::LookAt(BrGameObj* target) {
  if (!target) return;
  LookAt(&target->Location());
}

void BrGameObj::LookAt(BrVector* point) {
  if (!point) return;
  BrCoords& frame = GetCoords();
  // A point on the object gives no direction: the object keeps the way it faces.
  BrVector direction = (*point - frame.Position).Unit();
  if (direction.Size() < 0.5f) return;
  BrVector right = (BrVector(0, 1, 0) ^ direction).Unit();
  // Straight up or down the world's up axis gives no right vector; the object's own right, made square to the
  // new direction, serves instead.
  if (right.Size() < 0.5f) right = (frame.X - direction * (frame.X | direction)).Unit();
  if (right.Size() < 0.5f) right = (direction ^ BrVector(0, 0, 1)).Unit();
  BrVector up = (direction ^ right).Unit();
  frame.Z = direction;
  frame.X = right;
  frame.Y = up;
}

// Each turn keeps its own count, so a long run of one kind of turn cannot let the frame drift out of shape.
namespace {
void TurnFrame(BrCoords& frame, int& calls, BrVector& first, BrVector& second, const BrVector& axis, float degrees) {
  if (++calls >= 50) {
    frame.ReOrthogonalize();
    calls = 0;
  }
  const double angle = degrees / 360.0f * kTwoPi;
  first.AxisAngleRotation(axis, angle);
  second.AxisAngleRotation(axis, angle);
}
}  // namespace

void BrGameObj::PitchBy(float degrees) {
  static int s_iCalls = 0;
  BrCoords& frame = GetCoords();
  TurnFrame(frame, s_iCalls, frame.Z, frame.Y, frame.X, degrees);
}

void BrGameObj::YawBy(float degrees) {
  static int s_iCalls = 0;
  BrCoords& frame = GetCoords();
  TurnFrame(frame, s_iCalls, frame.Z, frame.X, frame.Y, degrees);
}

void BrGameObj::RollBy(float degrees) {
  static int s_iCalls = 0;
  BrCoords& frame = GetCoords();
  TurnFrame(frame, s_iCalls, frame.Y, frame.X, frame.Z, degrees);
}

// Ownership read from a save can form a loop. A chain longer than the ids the map ever issued must be one, and
// so is any chain deeper than ciMaxOwnerDepth (no game nests owners that deep, while a save may claim millions
// of ids): it is ended there, at a depth the stack can always take, instead of recursing without end.
bool BrGameObj::IsPersistent() {
  if (m_bPersistent) return true;
  if (m_iOwner < 0) return false;
  BrMap* map = WorldMap();
  if (!map) return false;
  static int s_iDepth = 0;
  if (s_iDepth >= ciMaxOwnerDepth || s_iDepth > map->NumObjects()) return false;
  ++s_iDepth;
  const bool persistent = map->GetObjectA(m_iOwner)->IsPersistent();
  --s_iDepth;
  return persistent;
}

BrCoords& BrGameObj::GetCoords() { return m_Coords; }

BrStringT<char> BrGameObj::GetText() const { return m_Text; }

bool BrGameObj::CreateHUD() {
  if (m_HUDClass.Length() == 0) return false;
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn(m_HUDClass.c_str()));
  m_pHUD = spawned ? static_cast<BrHUD*>(spawned->SafeCast(&BrHUD::Type)) : nullptr;
  if (!m_pHUD) {
    delete spawned;
    return false;
  }
  if (Engine().GUI()) Engine().GUI()->AddControl(m_pHUD);
  return true;
}

int BrGameObj::GetChild(int i) const {
  int k = 0;
  for (auto* node = m_Children.GetHead(); node; node = node->next, ++k)
    if (k == i) return node->element;
  return -1;
}

bool BrGameObj::HasChild(int id) const { return m_Children.Contains(id); }

void BrGameObj::AddChild(int id) {
  if (id < 0 || HasChild(id)) return;
  BrMap* map = WorldMap();
  if (!map || id >= map->NumObjects()) return;
  m_Children.Append(id);
}

void BrGameObj::LostOwner(int id) {
  if (id == m_iOwner) {
    m_iOwner = -1;
    return;
  }
  GLog.DebugPrintf("ERROR: Object %i lost owner %i, but had owner %i", int(m_iID), id, int(m_iOwner));
}

void BrGameObj::LostChild(int id) {
  for (auto* node = m_Children.GetHead(); node; node = node->next) {
    if (node->element == id) {
      m_Children.Remove(node);
      return;
    }
  }
}
