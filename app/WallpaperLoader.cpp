#include "app/WallpaperLoader.h"

#include "app/WallpaperFile.h"
#include "awt/Screen.h"
#include "klib/ComPtr.h"
#include "klib/KernelHandle.h"
#include "klib/ManagedThread.h"

#include <wincodec.h>

#include <new>
#include <utility>

namespace {

// What the worker and the waiting thread share. Either may be the last to let go of it: the waiting
// thread gives up at its deadline, the worker when it is done.
struct WallpaperJob {
    RECT area;
    int step;
    std::vector<RECT> monitors;
    std::vector<MonitorWallpaper> wallpapers;
    bool given;                             // wallpapers came with the request
    std::unique_ptr<PlacedPicture> result;  // set by the worker before done is signalled
    klib::KernelHandle done;
};

RECT boundsOf(const std::vector<MonitorWallpaper>& wallpapers) {
    RECT bounds{0, 0, 0, 0};
    for (const MonitorWallpaper& wallpaper : wallpapers) UnionRect(&bounds, &bounds, &wallpaper.monitor);
    return bounds;
}

std::unique_ptr<PlacedPicture> place(WallpaperJob& job) {
    const klib::ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (!apartment.isReady()) {
        return nullptr;
    }
    if (!job.given) job.wallpapers = readSystemWallpaper(job.monitors);
    klib::ComPtr<IWICImagingFactory> factory;
    // The first factory: the plain name means the second one in newer headers, which Windows 7 lacks.
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid()))) {
        return nullptr;
    }
    auto picture = std::make_unique<PlacedPicture>(job.area, job.step);
    const RECT desktop = boundsOf(job.wallpapers);
    for (const MonitorWallpaper& wallpaper : job.wallpapers) {
        picture->fill(wallpaper.monitor, wallpaper.background);
        if (wallpaper.path.empty()) continue;
        PlaceResult placed = placeWallpaperFile(*factory.get(), wallpaper.path, wallpaper.placement,
                                                wallpaper.monitor, desktop, *picture);
        if (placed == PlaceResult::MISSING) {
            for (const std::wstring& copy : transcodedWallpaperPaths()) {
                placed = placeWallpaperFile(*factory.get(), copy, wallpaper.placement, wallpaper.monitor, desktop,
                                            *picture);
                if (placed != PlaceResult::MISSING) break;
            }
        }
        if (placed != PlaceResult::PLACED) {
            picture->fill(wallpaper.monitor, wallpaper.background);  // nothing half-decoded stays
        }
    }
    return picture;
}

DWORD WINAPI work(void* parameter) {
    // Owned by this thread from here on: the waiting thread may be gone when the work ends.
    const std::unique_ptr<std::shared_ptr<WallpaperJob>> job(static_cast<std::shared_ptr<WallpaperJob>*>(parameter));
    klib::ManagedThread record;
    klib::ManagedThread::attach(&record);
    try {
        (*job)->result = place(**job);
    } catch (...) {
        (*job)->result.reset();  // any failure leaves the wallpaper out
    }
    record.runExitActions();
    klib::ManagedThread::attach(nullptr);
    SetEvent((*job)->done.get());
    return 0;
}

DWORD WINAPI prepare(void*) {
    // Kept loaded to the end of the process, so the wallpaper's worker finds it ready.
    LoadLibraryW(L"windowscodecs.dll");
    const klib::ComApartment apartment(COINIT_APARTMENTTHREADED);
    klib::ComPtr<IWICImagingFactory> factory;
    if (apartment.isReady()) {
        CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         factory.putVoid());
    }
    return 0;
}

}  // namespace

void prepareWallpaperDecoding() noexcept {
    const klib::KernelHandle thread(CreateThread(nullptr, 0, prepare, nullptr, 0, nullptr));
}

std::unique_ptr<PlacedPicture> loadWallpaper(const RECT& area, const std::vector<RECT>& monitors,
                                             const std::vector<MonitorWallpaper>* wallpapers, DWORD deadline,
                                             int step) {
    if (area.right <= area.left || area.bottom <= area.top) {
        return nullptr;
    }
    try {
        auto job = std::make_shared<WallpaperJob>();
        job->area = area;
        job->step = step;
        job->monitors = monitors.empty() ? awt::getMonitorRectangles() : monitors;
        job->given = wallpapers != nullptr;
        if (job->given) job->wallpapers = *wallpapers;
        job->done.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (job->done.get() == nullptr) {
            return nullptr;
        }
        auto shared = std::make_unique<std::shared_ptr<WallpaperJob>>(job);
        const klib::KernelHandle thread(CreateThread(nullptr, 0, work, shared.get(), 0, nullptr));
        if (thread.get() == nullptr) {
            return nullptr;
        }
        shared.release();  // the worker's now
        const LONG left = static_cast<LONG>(deadline - GetTickCount());
        if (WaitForSingleObject(job->done.get(), left > 0 ? static_cast<DWORD>(left) : 0) != WAIT_OBJECT_0) {
            return nullptr;
        }
        return std::move(job->result);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
