#include "platform/mac/MacLoginItem.h"

#import <ServiceManagement/ServiceManagement.h>

namespace kivaro {

bool MacLoginItem::enabled() const {
    return SMAppService.mainAppService.status == SMAppServiceStatusEnabled;
}

bool MacLoginItem::setEnabled(bool on) {
    @autoreleasepool {
        NSError* error = nil;
        SMAppService* service = SMAppService.mainAppService;
        return on ? [service registerAndReturnError:&error]
                  : [service unregisterAndReturnError:&error];
    }
}

} // namespace kivaro
