#pragma once

#include <memory>
#include <mutex>
#include <utility>

#include "store/station_store.h"

// A station store shared by the programming threads of a batch and the window: a store serves
// one thread at a time, so every use goes through Use, which holds the store for the call.
class LockedStationStore {
  public:
    explicit LockedStationStore(std::unique_ptr<StationStore> store) : m_store(std::move(store)) {}

    template <class Step>
    auto Use(Step&& use) {
        const std::lock_guard lock(m_mutex);
        return std::forward<Step>(use)(*m_store);
    }

  private:
    std::mutex m_mutex;
    std::unique_ptr<StationStore> m_store;
};
