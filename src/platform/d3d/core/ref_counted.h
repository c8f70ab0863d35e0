// Reference counting and interface lookup, written once for every object of the device layer
// (DirectDraw and Direct3D objects, surfaces, clippers, devices, vertex buffers): an object starts
// with one reference, AddRef and Release return the new count, the last Release deletes it, and
// QueryInterface gives the object's own interface or IUnknown with a reference added. An object that
// answers for further interfaces, or must act before it goes, overrides the two hooks.
#pragma once

#include <atomic>

#include "platform/d3d/d3d_results.h"
#include "platform/d3d/ddraw.h"

template <class Interface, const IID& OwnIid>
class RefCounted : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr) return DDERR_INVALIDPARAMS;
        *object = nullptr;
        if (riid == OwnIid || riid == IID_IUnknown) {
            AddRef();
            *object = static_cast<Interface*>(this);
            return S_OK;
        }
        return query_other(riid, object);
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override
    {
        const ULONG left = --refs_;
        if (left == 0) {
            last_release();
            delete this;
        }
        return left;
    }

protected:
    RefCounted() = default;
    virtual ~RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    // Interfaces beyond the object's own: set *object (null on entry) and add a reference, or say
    // E_NOINTERFACE.
    virtual HRESULT query_other(REFIID, void**) { return E_NOINTERFACE; }
    // Runs once, as the last reference goes, before the object is deleted.
    virtual void last_release() {}

private:
    std::atomic<ULONG> refs_{1};
};
