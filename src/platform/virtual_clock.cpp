// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <atomic>
#include <list>
#include <map>
#include <thread>
#include <vector>

#include "platform/clock.h"

namespace orgalink::platform {

namespace {

// One thread blocked in WaitUntil. It counts as settled once it has looked at
// its condition after the latest Notify; only then may time move past it. Its
// hint is the one it worked out as it looked, under its site's lock: a
// change that would alter it comes with a Notify, which unsettles it.
struct Waiter {
  Tick deadline;
  std::optional<Tick> hint;
  bool participant;
  std::uint64_t seen_notify;
};

struct Action {
  Tick at;
  std::uint64_t order;
  std::function<void()> run;
};

// The notification count of a waiter that has not looked yet.
constexpr std::uint64_t kNotLooked = UINT64_MAX;

// Ticks from `now` to `tick`; zero when `tick` is not after `now`.
std::uint32_t Distance(Tick now, Tick tick) {
  return TickAfter(tick, now) ? tick - now : 0;
}

}  // namespace

struct VirtualClock::Impl {
  std::atomic<Tick> now;
  std::mutex text_mutex;
  std::string local_time = "01/01/26 00:00:00";
  std::map<std::thread::id, int> participants;
  std::list<Waiter*> waiters;
  std::vector<Action> actions;
  std::uint64_t next_order = 0;
  int actions_running = 0;

  explicit Impl(Tick start) : now(start) {}

  bool IsParticipant() const { return participants.count(std::this_thread::get_id()) != 0; }

  // Time may move once no scheduled action runs, every waiter has seen the
  // latest change, and every participant thread is among the waiters.
  bool MayAdvance(std::uint64_t notify_count) const {
    if (actions_running > 0) return false;
    std::size_t waiting_participants = 0;
    for (const Waiter* waiter : waiters) {
      if (waiter->seen_notify != notify_count) return false;
      if (waiter->participant) ++waiting_participants;
    }
    return waiting_participants == participants.size();
  }

  // Ticks until the earliest deadline, hint or scheduled action.
  std::uint32_t StepToNextEvent() const {
    Tick current = now.load();
    std::uint32_t step = UINT32_MAX;
    for (const Waiter* waiter : waiters) {
      // A listed waiter has not expired, so this is 1 to 2^31 ticks.
      step = std::min(step, waiter->deadline - current + 1);
      const std::optional<Tick>& hint = waiter->hint;
      if (hint && TickAfter(*hint, current)) step = std::min(step, Distance(current, *hint));
    }
    for (const Action& action : actions) step = std::min(step, Distance(current, action.at));
    return step;
  }

  // Removes and returns the actions whose time has come, earliest first.
  std::vector<Action> TakeDueActions() {
    Tick current = now.load();
    auto not_due = [current](const Action& action) { return TickAfter(action.at, current); };
    auto first_due = std::stable_partition(actions.begin(), actions.end(), not_due);
    std::vector<Action> due(std::make_move_iterator(first_due),
                            std::make_move_iterator(actions.end()));
    actions.erase(first_due, actions.end());
    std::sort(due.begin(), due.end(), [current](const Action& a, const Action& b) {
      std::int32_t lateness_a = static_cast<std::int32_t>(current - a.at);
      std::int32_t lateness_b = static_cast<std::int32_t>(current - b.at);
      return lateness_a != lateness_b ? lateness_a > lateness_b : a.order < b.order;
    });
    return due;
  }
};

namespace {

// Keeps a waiter listed for exactly the duration of one WaitUntil call. It
// takes the clock's mutex itself, under the waiter's site lock.
class WaiterListing {
 public:
  WaiterListing(std::mutex& mutex, std::list<Waiter*>& list, Waiter* waiter)
      : mutex_(mutex), list_(list) {
    std::lock_guard<std::mutex> guard(mutex_);
    position_ = list_.insert(list_.end(), waiter);
  }
  ~WaiterListing() {
    std::lock_guard<std::mutex> guard(mutex_);
    list_.erase(position_);
  }
  WaiterListing(const WaiterListing&) = delete;
  WaiterListing& operator=(const WaiterListing&) = delete;

 private:
  std::mutex& mutex_;
  std::list<Waiter*>& list_;
  std::list<Waiter*>::iterator position_;
};

}  // namespace

VirtualClock::VirtualClock(Tick start) : impl_(new Impl(start)) {}

VirtualClock::~VirtualClock() {
  delete impl_;
}

Tick VirtualClock::Now() {
  return impl_->now.load();
}

std::string VirtualClock::LocalTime(const char*) {
  std::lock_guard<std::mutex> guard(impl_->text_mutex);
  return impl_->local_time;
}

void VirtualClock::SetLocalTime(std::string text) {
  std::lock_guard<std::mutex> guard(impl_->text_mutex);
  impl_->local_time = std::move(text);
}

// `lock` is on the site's mutex. The waiter looks at its condition under
// it, then takes the clock's mutex to say it has looked; time moves only
// with the site's lock let go, since moving it wakes every site.
bool VirtualClock::WaitUntil(const std::shared_ptr<WaitSite>& site,
                             std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                             Tick deadline,
                             const std::function<std::optional<Tick>()>& next_change) {
  const SiteListing site_listing(*this, site);
  // Listed before it has looked, the waiter must not count as settled.
  Waiter self{deadline, std::nullopt, false, kNotLooked};
  {
    std::lock_guard<std::mutex> guard(mutex_);
    self.participant = impl_->IsParticipant();
  }
  WaiterListing listing(mutex_, impl_->waiters, &self);
  for (;;) {
    // A look accounts for the changes announced before it began, and no
    // later ones: time moves without the sites' locks, so it may move while
    // this thread looks, and the look is then out of date before it ends.
    const std::uint64_t looking_at = NotifyCount();
    // The hint goes first: working it out may bring about the change awaited.
    std::optional<Tick> hint = next_change ? next_change() : std::nullopt;
    if (ready()) return true;
    if (TickAfter(Now(), deadline)) return false;
    std::unique_lock<std::mutex> books(mutex_);
    self.hint = hint;
    self.seen_notify = looking_at;
    if (looking_at != notify_count_) continue;
    if (impl_->MayAdvance(notify_count_)) {
      lock.unlock();
      MoveTime(books, impl_->StepToNextEvent());
      books.unlock();
      WakeSites();
      lock.lock();
    } else {
      books.unlock();
      site->changed.wait(lock);
    }
  }
}

std::uint64_t VirtualClock::NotifyCount() {
  std::lock_guard<std::mutex> guard(mutex_);
  return notify_count_;
}

void VirtualClock::Advance(std::uint32_t ms) {
  {
    std::unique_lock<std::mutex> books(mutex_);
    MoveTime(books, ms);
  }
  WakeSites();
}

void VirtualClock::At(Tick at, std::function<void()> action) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    impl_->actions.push_back(Action{at, impl_->next_order++, std::move(action)});
    ++notify_count_;
  }
  WakeSites();
}

// The due actions run without `books`, and no other thread moves time
// meanwhile, so every waiter sees their effects before time goes on. The
// caller wakes the sites once it has let go of `books`.
void VirtualClock::MoveTime(std::unique_lock<std::mutex>& books, std::uint32_t ms) {
  impl_->now.store(impl_->now.load() + ms);
  ++notify_count_;
  std::vector<Action> due = impl_->TakeDueActions();
  if (!due.empty()) {
    ++impl_->actions_running;
    books.unlock();
    for (Action& action : due) action.run();
    books.lock();
    --impl_->actions_running;
    ++notify_count_;
  }
}

VirtualClock::Participant::Participant(VirtualClock& clock) : clock_(clock) {
  std::lock_guard<std::mutex> guard(clock_.mutex_);
  ++clock_.impl_->participants[std::this_thread::get_id()];
}

VirtualClock::Participant::~Participant() {
  {
    std::lock_guard<std::mutex> guard(clock_.mutex_);
    auto entry = clock_.impl_->participants.find(std::this_thread::get_id());
    if (entry != clock_.impl_->participants.end() && --entry->second == 0) {
      clock_.impl_->participants.erase(entry);
    }
    ++clock_.notify_count_;
  }
  // The remaining participants may all be waiting now: let one of them move time.
  clock_.WakeSites();
}

}  // namespace orgalink::platform
