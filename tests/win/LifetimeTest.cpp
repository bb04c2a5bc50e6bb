#include <gtest/gtest.h>
#include <windows.h>

#include "win/ComPtr.h"
#include "win/Gdi.h"
#include "win/Handles.h"

namespace qm::win {
namespace {

// A COM object that counts its references, to see every AddRef and Release.
class Counted : public IUnknown {
public:
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(ComPtr, EveryReferenceTakenIsGivenBack) {
    Counted object;
    {
        ComPtr<IUnknown> owner = ComPtr<IUnknown>::Attach(&object);  // takes the creator's reference
        EXPECT_EQ(object.refs, 1);
        ComPtr<IUnknown> copy = owner;
        EXPECT_EQ(object.refs, 2);
        ComPtr<IUnknown> moved = std::move(copy);
        EXPECT_EQ(object.refs, 2) << "a move takes no reference";
        EXPECT_FALSE(copy);
        ComPtr<IUnknown> queried;
        EXPECT_EQ(owner.As(queried), S_OK);
        EXPECT_EQ(object.refs, 3);
        owner = moved;  // assigning over a held pointer releases the old one
        EXPECT_EQ(object.refs, 3);
        IUnknown** slot = queried.ReleaseAndGetAddressOf();
        EXPECT_EQ(object.refs, 2);
        EXPECT_EQ(*slot, nullptr);
    }
    EXPECT_EQ(object.refs, 0);
}

TEST(UniqueHandle, ClosesOnceAndMovesOwnership) {
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(raw);
    UniqueKernelHandle a(raw);
    UniqueKernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    b.Reset();
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(raw, &flags)) << "closed by Reset";
    UniqueFile invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid) << "INVALID_HANDLE_VALUE is empty for files";
}

TEST(ScopedSelectObject, PutsThePreviousObjectBack) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BRUSH);
    UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    {
        ScopedSelectObject select(dc.Get(), brush.Get());
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
}

}  // namespace
}  // namespace qm::win
