#include "messaging/CurlTransfer.h"

#include <mutex>
#include <new>

namespace carvendo::messaging {

CurlTransfer::CurlTransfer()
{
    // libcurl's global set-up is not thread-safe: done once, by the first transfer of the program.
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_handle = curl_easy_init();
    if (!m_handle)
        throw std::bad_alloc();
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_ERRORBUFFER, m_error);
}

CurlTransfer::~CurlTransfer()
{
    curl_easy_cleanup(m_handle);
    curl_mime_free(m_mime);
    for (curl_slist* list : m_lists)
        curl_slist_free_all(list);
}

curl_slist* CurlTransfer::list(const QList<QByteArray>& items)
{
    curl_slist* list = nullptr;
    for (const QByteArray& item : items) {
        curl_slist* longer = curl_slist_append(list, item.constData());
        if (!longer) {
            curl_slist_free_all(list);
            throw std::bad_alloc();
        }
        list = longer;
    }
    m_lists.push_back(list);
    return list;
}

curl_mime* CurlTransfer::mime()
{
    if (!m_mime)
        m_mime = curl_mime_init(m_handle);
    return m_mime;
}

QString CurlTransfer::errorText(CURLcode code) const
{
    return m_error[0] ? QString::fromLocal8Bit(m_error) : QString::fromLatin1(curl_easy_strerror(code));
}

} // namespace carvendo::messaging
