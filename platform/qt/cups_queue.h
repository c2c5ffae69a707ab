// Print jobs for the default CUPS destination, handed over on a thread of
// their own: the scheduler's answers are awaited there, each job bounded by
// a deadline. libcups is loaded at the first job, so that a program that
// never prints does not load the print system's libraries.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace morvane::platform {

class CupsQueue {
public:
    using Clock = std::chrono::steady_clock;
    // Receives whether the scheduler accepted the job: called on the
    // queue's thread.
    using Done = std::function<void(bool accepted)>;

    struct Job {
        std::string pdf;    // the document, a PDF
        std::string title;  // the job's name
        Clock::time_point deadline;
        // Set when the job's sender no longer waits for it: the job stops,
        // and a job the scheduler already holds is cancelled.
        std::shared_ptr<std::atomic<bool>> abandoned;
        Done done;
    };

    CupsQueue() = default;
    // Jobs that still wait are dropped (their `done` is not called); the job
    // in progress stops within a fraction of a second.
    ~CupsQueue();
    CupsQueue(const CupsQueue&) = delete;
    CupsQueue& operator=(const CupsQueue&) = delete;

    // Queues a job; the thread starts with the first one. The job is sent to
    // the default destination with Create-Job and Send-Document, every
    // answer checked: accepted only when the scheduler took the document
    // before the deadline. A job past its deadline, refused, or that the
    // scheduler does not answer in time is not accepted.
    void submit(Job job);

private:
    void run();
    bool send(Job& job);

    std::mutex m_;
    std::condition_variable cv_;
    std::deque<Job> jobs_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace morvane::platform
