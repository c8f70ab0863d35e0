#include "platform/audio/module_source.h"

#include <libopenmpt/libopenmpt.h>

#include "platform/audio/bass.h"

namespace {

class ModuleSource final : public MusicSource {
public:
    ModuleSource(openmpt_module* module, DWORD rate) : module_(module), rate_(static_cast<std::int32_t>(rate)) {}
    ~ModuleSource() override { openmpt_module_destroy(module_); }
    ModuleSource(const ModuleSource&) = delete;
    ModuleSource& operator=(const ModuleSource&) = delete;

    std::size_t read(std::int16_t* out, std::size_t frames) override {
        std::size_t done = 0;
        while (done < frames) {
            const std::size_t got = openmpt_module_read_interleaved_stereo(module_, rate_, frames - done, out + done * 2);
            if (got == 0) break;
            done += got;
        }
        return done;
    }

private:
    openmpt_module* module_;
    std::int32_t rate_;
};

}  // namespace

std::unique_ptr<MusicSource> module_source_open(const std::shared_ptr<const MusicBytes>& bytes, DWORD rate,
                                                const ModuleOptions& options, int* error) {
    if (!bytes || bytes->empty()) {
        *error = BASS_ERROR_FILEFORM;
        return nullptr;
    }
    int open_error = 0;
    const char* message = nullptr;
    openmpt_module* module = openmpt_module_create_from_memory2(bytes->data(), bytes->size(), openmpt_log_func_silent,
                                                                nullptr, openmpt_error_func_ignore, nullptr,
                                                                &open_error, &message, nullptr);
    openmpt_free_string(message);
    if (!module) {
        *error = open_error == OPENMPT_ERROR_OUT_OF_MEMORY ? BASS_ERROR_MEM : BASS_ERROR_FILEFORM;
        return nullptr;
    }
    openmpt_module_set_repeat_count(module, options.loop ? -1 : 0);
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_VOLUMERAMPING_STRENGTH, options.ramp ? -1 : 0);
    if (options.order != 0 || options.row != 0) openmpt_module_set_position_order_row(module, options.order, options.row);
    *error = BASS_OK;
    return std::make_unique<ModuleSource>(module, rate);
}
