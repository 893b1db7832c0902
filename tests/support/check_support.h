// What the check cycle's tests share: an observer that keeps every report and lets the test wait
// for the end of a check or of a deletion run, the statuses of a mail table as letters, and the
// subjects of raw messages.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "mail/check_cycle.h"

namespace quorlet::testing {

class RecordingObserver final : public CheckObserver {
public:
    struct Finish {
        bool haveMail;
        bool haveFiltered;
    };

    void OnRowImage(int row, RowImage image) override {
        {
            std::lock_guard lock(m_mutex);
            m_images[row].push_back(image);
        }
        if (onImage) {
            onImage(row, image);
        }
    }
    void OnRowResult(int row, const std::string& count, const std::string& size) override {
        std::lock_guard lock(m_mutex);
        m_results[row] = {count, size};
        m_resultOrder.push_back(row);
    }
    void OnCheckFinished(bool haveMail, bool haveFiltered) override {
        std::lock_guard lock(m_mutex);
        m_finishes.push_back({haveMail, haveFiltered});
        m_changed.notify_all();
    }
    void OnDeletionFinished() override {
        std::lock_guard lock(m_mutex);
        ++m_deletions;
        m_changed.notify_all();
    }

    // Waits until `count` checks (or deletion runs) have ended; false after the limit.
    bool WaitChecks(std::size_t count, std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return m_finishes.size() >= count; });
    }
    bool WaitDeletions(int count, std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return m_deletions >= count; });
    }

    std::vector<Finish> Finishes() {
        std::lock_guard lock(m_mutex);
        return m_finishes;
    }
    std::vector<RowImage> Images(int row) {
        std::lock_guard lock(m_mutex);
        return m_images[row];
    }
    // The "邮件数" and "大小" texts of a row; two empty texts when none was reported.
    std::pair<std::string, std::string> Result(int row) {
        std::lock_guard lock(m_mutex);
        auto it = m_results.find(row);
        return it == m_results.end() ? std::pair<std::string, std::string>() : it->second;
    }
    // The rows in the order their results came.
    std::vector<int> ResultOrder() {
        std::lock_guard lock(m_mutex);
        return m_resultOrder;
    }
    int Deletions() {
        std::lock_guard lock(m_mutex);
        return m_deletions;
    }

    // Called on the reporting thread after each image is kept, to act at that moment.
    std::function<void(int row, RowImage image)> onImage;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<int, std::vector<RowImage>> m_images;
    std::map<int, std::pair<std::string, std::string>> m_results;
    std::vector<int> m_resultOrder;
    std::vector<Finish> m_finishes;
    int m_deletions = 0;
};

// One letter per record: '0' ordinary, '1' marked, or the deletion's 'D', 'F', 'E', 'R'.
inline std::string StatusLetters(const std::vector<MailRecord>& records) {
    std::string letters;
    for (const MailRecord& r : records) {
        letters += r.m_nStatus == kMailOrdinary ? '0'
                   : r.m_nStatus == kMailMarked ? '1'
                                                : static_cast<char>(r.m_nStatus);
    }
    return letters;
}

// The text after "Subject: " of each message (header lines ended by CR LF).
inline std::vector<std::string> SubjectsOf(const std::vector<std::string>& messages) {
    std::vector<std::string> subjects;
    for (const std::string& raw : messages) {
        const auto at = raw.find("Subject: ") + 9;
        subjects.push_back(raw.substr(at, raw.find("\r\n", at) - at));
    }
    return subjects;
}

}  // namespace quorlet::testing
