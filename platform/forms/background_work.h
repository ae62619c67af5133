#pragma once
// Work that may block for long (a folder on a share that does not answer),
// done on a thread of its own while the window's thread waits only a
// moment for it.

namespace platform {

class BackgroundWork {
 public:
  BackgroundWork() = default;
  BackgroundWork(const BackgroundWork&) = delete;
  BackgroundWork& operator=(const BackgroundWork&) = delete;

  // On the work's own thread. It may outlive the wait: it must use nothing
  // but the object's own members and services that any thread may call.
  virtual void Run() = 0;

  enum class Waited {
    Finished,    // Run() is done
    KeyPressed,  // a key came first: what is typed meanwhile comes first
    GaveUp,      // not done in time, a Tab came first, or the thread could not start
  };

  // Runs Run() on a thread of its own and waits for it at most
  // `milliseconds`, and not at all once a key is pressed. Where it is not
  // Finished, Run() finishes unseen.
  Waited Wait(unsigned milliseconds);

  // Gives up the caller's share. The object is deleted once its thread is
  // done with it too, whenever that is.
  void Release();

 protected:
  virtual ~BackgroundWork() = default;

 private:
  long volatile shares_ = 1;  // the caller's, and the thread's while it runs
};

}  // namespace platform
