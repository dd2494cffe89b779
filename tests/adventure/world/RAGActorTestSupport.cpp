// Registration of the test map and the test mutators the actor tests apply by command.
#include "RAGActorTestSupport.h"

#include "RAGTestMutators.h"

namespace ragactor {
BR_IMPLEMENT_CLASS(ActorTestMap, BrRAGMap)
}  // namespace ragactor

BR_IMPLEMENT_CLASS(MUTTestTimed, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTTestRefuse, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTTestWard, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTTestDouble, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTTestThorns, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTFlying, BrRAGMutator)
