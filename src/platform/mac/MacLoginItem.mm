#include "platform/mac/MacLoginItem.h"

#import <ServiceManagement/ServiceManagement.h>

namespace kivaro {

bool MacLoginItem::enabled() const {
    return SMAppService.mainAppService.status == SMAppServiceStatusEnabled;
}

// Asking for the state it is already in is no refusal, whatever the service would answer.
bool MacLoginItem::setEnabled(bool on) {
    if (enabled() == on)
        return true;
    @autoreleasepool {
        NSError* error = nil;
        SMAppService* service = SMAppService.mainAppService;
        return on ? [service registerAndReturnError:&error]
                  : [service unregisterAndReturnError:&error];
    }
}

} // namespace kivaro
