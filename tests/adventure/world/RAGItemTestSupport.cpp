// Registration of the item tests' map and game.
#include "RAGItemTestSupport.h"

namespace ragitem {
BR_IMPLEMENT_CLASS(ItemTestMap, BrRAGMap)
BR_IMPLEMENT_CLASS(ItemTestGame, BrGame)
}  // namespace ragitem
