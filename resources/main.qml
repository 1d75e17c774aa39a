import QtQuick
import QtQuick.Controls
import QtWebView
import QtQuick.Layouts

// A web view that reports, once per request, whether the page it was told
// to load came up. The embedding code provides `initialUrl` (the first page)
// and `webTooltip` (an object with onLoadingChanged(bool)) in its context.
WebView {
    id: webView
    anchors.fill: parent

    // True while the result of the last requested page is still outstanding.
    property bool waitingForPrimaryLoad: false

    function loadUrl(targetUrl) {
        waitingForPrimaryLoad = true
        url = targetUrl
    }

    Component.onCompleted: {
        waitingForPrimaryLoad = true
        url = initialUrl
    }

    onLoadingChanged: function (loadRequest) {
        // Later navigations inside the page are none of the embedder's business.
        if (!waitingForPrimaryLoad)
            return
        if (loadRequest.status === WebView.LoadSucceededStatus) {
            console.log("主 URL 加载成功！")
            webTooltip.onLoadingChanged(true)
            waitingForPrimaryLoad = false
        } else if (loadRequest.status === WebView.LoadFailedStatus) {
            console.error("主 URL 加载失败！ Error:", loadRequest.errorString)
            webTooltip.onLoadingChanged(false)
            waitingForPrimaryLoad = false
        }
    }
}
