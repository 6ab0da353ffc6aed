// The document's base open on real files, its view list and updates, and the view's window:
// creation into a document, painting through OnDraw, initial update, class and styles.

#include "framework/core/File.h"
#include "framework/core/FrameworkIds.h"
#include "framework/core/UniqueHandle.h"
#include "framework/docview/Document.h"
#include "framework/docview/View.h"
#include "tests/win/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

bool CanOpen(const std::wstring& path, DWORD access, DWORD share) {
    UniqueHandle file(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}

class CProbeDoc : public CDocument {
public:
    int serialized = 0;
    int deleted = 0;
    bool writerWasKeptOut = false;
    bool readerWasLetIn = false;
    std::string firstBytes;
    bool throwInSerialize = false;

    void Serialize(CArchive& ar) override {
        ++serialized;
        ASSERT_TRUE(ar.IsLoading());
        const std::wstring path = ar.GetFile()->GetFilePath().str();
        writerWasKeptOut = !CanOpen(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        readerWasLetIn = CanOpen(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        char buffer[4] = {};
        const UINT got = ar.GetFile()->Read(buffer, 4);
        firstBytes.assign(buffer, got);
        if (throwInSerialize)
            CFileException::ThrowOsError(ERROR_READ_FAULT, path.c_str());
    }
    void DeleteContents() override { ++deleted; }
};

class CProbeView : public CView {
public:
    int draws = 0;
    int updates = 0;
    CView* lastSender = reinterpret_cast<CView*>(1);
    LPARAM lastHint = -1;
    CObject* lastHintObject = reinterpret_cast<CObject*>(1);
    CRect lastClip;
    CDocument* removeFromOnUpdate = nullptr;
    CView* otherToRemove = nullptr;

    void OnDraw(CDC* pDC) override {
        ++draws;
        pDC->GetClipBox(&lastClip);
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {
        ++updates;
        lastSender = pSender;
        lastHint = lHint;
        lastHintObject = pHint;
        if (removeFromOnUpdate != nullptr)
            removeFromOnUpdate->RemoveView(otherToRemove);
        CView::OnUpdate(pSender, lHint, pHint);
    }
};

std::vector<CView*> ViewsOf(const CDocument& doc) {
    std::vector<CView*> views;
    for (POSITION pos = doc.GetFirstViewPosition(); pos != nullptr;)
        views.push_back(doc.GetNextView(pos));
    return views;
}

}  // namespace

TEST(DocumentOpenTest, BaseOpenReadsDenyingWritersThenClosesTheFile) {
    TempFile file("ABCDEFGH");
    CProbeDoc doc;
    doc.SetModifiedFlag(TRUE);
    ASSERT_TRUE(doc.OnOpenDocument(file.c_str()));
    EXPECT_EQ(doc.serialized, 1);
    EXPECT_EQ(doc.deleted, 1) << "the old contents go before the new ones load";
    EXPECT_TRUE(doc.writerWasKeptOut) << "others may not write while it loads";
    EXPECT_TRUE(doc.readerWasLetIn) << "but may read";
    EXPECT_EQ(doc.firstBytes, "ABCD");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(CanOpen(file.path(), GENERIC_READ | GENERIC_WRITE, 0)) << "closed again afterwards";
}

TEST(DocumentOpenTest, EmptyFileOpensWithoutLoading) {
    TempFile file("");
    CProbeDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(file.c_str()));
    EXPECT_EQ(doc.serialized, 0);
    EXPECT_TRUE(CanOpen(file.path(), GENERIC_READ | GENERIC_WRITE, 0));
}

TEST(DocumentOpenTest, FileThatCannotBeOpenedIsReportedAndChangesNothing) {
    const std::wstring missing = UniqueTempPath(L"missing");
    CProbeDoc doc;
    doc.SetPathName(L"C:\\earlier.bin");
    {
        MessageBoxWatcher boxes;
        EXPECT_FALSE(doc.OnOpenDocument(missing.c_str()));
        ASSERT_EQ(boxes.Seen().size(), 1u);
        const SeenMessageBox box = boxes.Seen()[0];
        EXPECT_NE(box.text.find(missing), std::wstring::npos) << "names the file: " << box.text.size();
        EXPECT_NE(box.text.find(L"nebyl nalezen"), std::wstring::npos) << "and why";
        EXPECT_EQ(box.caption, AfxGetAppTitle().str());
        EXPECT_EQ(box.icon, L"exclamation");
    }
    EXPECT_EQ(doc.serialized, 0);
    EXPECT_EQ(doc.deleted, 0) << "the document is left as it was";
    EXPECT_EQ(doc.GetPathName(), L"C:\\earlier.bin");

    // A file another program writes to cannot be opened denying writers.
    TempFile busy("xyz");
    UniqueHandle writer(CreateFileW(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(writer));
    MessageBoxWatcher boxes;
    EXPECT_FALSE(doc.OnOpenDocument(busy.c_str()));
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST(DocumentOpenTest, FailureWhileLoadingIsReportedAndTheContentsDropped) {
    TempFile file("data");
    CProbeDoc doc;
    doc.throwInSerialize = true;
    MessageBoxWatcher boxes;
    EXPECT_FALSE(doc.OnOpenDocument(file.c_str()));
    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(doc.deleted, 2) << "before loading, and after the failure";
    EXPECT_TRUE(CanOpen(file.path(), GENERIC_READ | GENERIC_WRITE, 0)) << "the file was closed";
}

TEST(DocumentTest, NewDocumentAndPathName) {
    CProbeDoc doc;
    // The path as given (the application has made it full), the file's name as the title.
    const std::wstring path = TempFolder() + L"data.bin";
    doc.SetPathName(path.c_str());
    EXPECT_EQ(doc.GetPathName(), CString(path));
    EXPECT_EQ(doc.GetTitle(), L"data.bin");
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.deleted, 1);
    EXPECT_TRUE(doc.GetPathName().IsEmpty());
    EXPECT_FALSE(doc.IsModified());
}

TEST(DocumentViewsTest, ViewListAndUpdates) {
    CProbeDoc doc;
    CProbeView first, second, third;
    EXPECT_EQ(doc.GetFirstViewPosition(), nullptr);
    doc.AddView(&first);
    doc.AddView(&second);
    doc.AddView(&third);
    doc.AddView(&second);  // already there
    EXPECT_EQ(ViewsOf(doc), (std::vector<CView*>{&first, &second, &third}));
    EXPECT_EQ(second.GetDocument(), &doc);

    doc.UpdateAllViews(&second, 42, &doc);
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(second.updates, 0) << "the sender is not told";
    EXPECT_EQ(third.updates, 1);
    EXPECT_EQ(first.lastHint, 42);
    EXPECT_EQ(first.lastSender, &second);
    EXPECT_EQ(first.lastHintObject, &doc);

    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(second.updates, 1);
    EXPECT_EQ(second.lastSender, nullptr);
    EXPECT_EQ(second.lastHint, 0);
    EXPECT_EQ(second.lastHintObject, nullptr);

    // A view that leaves during an update is not called any more.
    first.removeFromOnUpdate = &doc;
    first.otherToRemove = &third;
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(third.updates, 2) << "not called a third time";
    EXPECT_EQ(third.GetDocument(), nullptr);
    EXPECT_EQ(ViewsOf(doc), (std::vector<CView*>{&first, &second}));
    first.removeFromOnUpdate = nullptr;

    // Another document takes a view over.
    CProbeDoc other;
    other.AddView(&second);
    EXPECT_EQ(ViewsOf(doc), (std::vector<CView*>{&first}));
    EXPECT_EQ(second.GetDocument(), &other);
}

TEST(DocumentViewsTest, EitherSideMayGoFirst) {
    auto doc = std::make_unique<CProbeDoc>();
    auto view = std::make_unique<CProbeView>();
    CProbeView stays;
    doc->AddView(view.get());
    doc->AddView(&stays);
    view.reset();
    EXPECT_EQ(ViewsOf(*doc), (std::vector<CView*>{&stays}));
    doc.reset();
    EXPECT_EQ(stays.GetDocument(), nullptr);
}

TEST(ViewWindowTest, JoinsItsDocumentPaintsThroughOnDrawAndLeavesWithItsWindow) {
    CWnd frame;
    ASSERT_TRUE(CreateTestWindow(frame, 400, 300));
    CProbeDoc doc;
    CProbeView view;
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    CRect client;
    frame.GetClientRect(&client);
    ASSERT_TRUE(view.Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, client, &frame, AFX_IDW_PANE_FIRST, &context));
    EXPECT_EQ(view.GetDocument(), &doc);
    EXPECT_EQ(ViewsOf(doc), (std::vector<CView*>{&view}));
    EXPECT_EQ(view.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(CWnd::FromHandle(GetParent(view)), &frame);

    // Redrawn whole when resized; the border became a sunken edge.
    const auto classStyle = static_cast<UINT>(GetClassLongPtrW(view.m_hWnd, GCL_STYLE));
    EXPECT_EQ(classStyle & (CS_HREDRAW | CS_VREDRAW), static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_FALSE(view.GetStyle() & WS_BORDER);
    EXPECT_TRUE(GetWindowLongPtrW(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    // The initial update invalidates everything; painting goes through OnDraw with the
    // paint context clipped to what is invalid.
    PumpMessages(50);
    EXPECT_FALSE(GetUpdateRect(view.m_hWnd, nullptr, FALSE));
    view.OnInitialUpdate();
    EXPECT_EQ(view.updates, 1);
    EXPECT_EQ(view.lastSender, nullptr);
    CRect invalid;
    EXPECT_TRUE(GetUpdateRect(view.m_hWnd, &invalid, FALSE));
    CRect viewClient;
    view.GetClientRect(&viewClient);
    EXPECT_EQ(invalid, viewClient);
    const int drawsBefore = view.draws;
    view.UpdateWindow();
    EXPECT_EQ(view.draws, drawsBefore + 1);
    EXPECT_EQ(view.lastClip, viewClient);

    CRect strip(0, 30, viewClient.right, 45);
    view.InvalidateRect(&strip, FALSE);
    view.UpdateWindow();
    EXPECT_EQ(view.lastClip, strip);

    // Destroying the window takes the view out of the document's list; the object remains.
    ASSERT_TRUE(view.DestroyWindow());
    EXPECT_EQ(view.GetDocument(), nullptr);
    EXPECT_TRUE(ViewsOf(doc).empty());
}
