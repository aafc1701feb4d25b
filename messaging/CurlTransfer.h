#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <curl/curl.h>

#include <vector>

namespace carvendo::messaging {

// One libcurl transfer: the easy handle, the lists and the MIME tree it borrows, all freed together
// when the transfer goes (which also closes a connection still open). Signals are never used, so a
// transfer may run on a background thread. Internal to this folder: the headers of the rest do not
// show libcurl.
class CurlTransfer
{
public:
    CurlTransfer();
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    CURL* handle() const { return m_handle; }
    template <typename Value> void set(CURLoption option, Value value)
    {
        curl_easy_setopt(m_handle, option, value);
    }
    // A list of strings, kept until the transfer goes.
    curl_slist* list(const QList<QByteArray>& items);
    // A MIME tree owned by the transfer.
    curl_mime* mime();

    CURLcode perform() { return curl_easy_perform(m_handle); }
    // libcurl's own words for the failure, for the log.
    QString errorText(CURLcode code) const;

private:
    CURL* m_handle = nullptr;
    std::vector<curl_slist*> m_lists;
    curl_mime* m_mime = nullptr;
    char m_error[CURL_ERROR_SIZE] = {};
};

} // namespace carvendo::messaging
