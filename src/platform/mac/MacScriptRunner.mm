#include "platform/mac/MacScriptRunner.h"

#include "platform/AppleEventValue.h"

#include <QByteArray>
#include <QString>
#include <QtDebug>

#import <Foundation/Foundation.h>

namespace kivaro {

namespace {

// Copies what the program reads of the descriptor; list items are numbered from 1.
AppleEventValue valueOf(NSAppleEventDescriptor* descriptor, int depth) {
    AppleEventValue value{.type = descriptor.descriptorType};
    switch (AppleEventValue::readingOf(value.type, depth)) {
    case AppleEventValue::Reading::items:
        for (NSInteger index = 1; index <= descriptor.numberOfItems; ++index) {
            NSAppleEventDescriptor* item = [descriptor descriptorAtIndex:index];
            value.items.append(item ? valueOf(item, depth + 1) : AppleEventValue{});
        }
        break;
    case AppleEventValue::Reading::text:
        if (NSString* string = descriptor.stringValue)
            value.string = QString::fromNSString(string);
        break;
    case AppleEventValue::Reading::int32:
        value.int32 = descriptor.int32Value;
        break;
    case AppleEventValue::Reading::int64:
        value.data = QByteArray::fromNSData(descriptor.data);
        break;
    case AppleEventValue::Reading::nothing:
        break;
    }
    return value;
}

} // namespace

std::optional<Descriptor> MacScriptRunner::run(const QString& source) {
    const std::lock_guard lock(running_);
    // Called from worker threads, which have no autorelease pool of their own.
    @autoreleasepool {
        NSAppleScript* script = [[NSAppleScript alloc] initWithSource:source.toNSString()];
        NSDictionary<NSString*, id>* error = nil;
        NSAppleEventDescriptor* result = [script executeAndReturnError:&error];
        if (!result) {
            qWarning("Kivaro AppleScript error: %s",
                     qUtf8Printable(QString::fromNSString(error.description)));
            return std::nullopt;
        }
        return valueOf(result, 0).toDescriptor();
    }
}

} // namespace kivaro
