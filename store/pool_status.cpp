#include "store/pool_status.h"

const char* MacStateName(MacState state) {
    switch (state) {
        case MacState::NotInPool:
            return "not-in-pool";
        case MacState::Free:
            return "free";
        case MacState::Reserved:
            return "reserved";
        case MacState::Written:
            return "written";
        case MacState::Verified:
            return "verified";
        case MacState::Failed:
            return "failed";
        case MacState::Quarantined:
            return "quarantined";
        case MacState::Suspect:
            return "suspect";
    }
    return "unknown";
}
