#include "site/httpclient.h"

namespace zob {

const char* transferFailureName(TransferFailure failure) {
    switch (failure) {
    case TransferFailure::None:
        return "None";
    case TransferFailure::SocketError:
        return "SocketError";
    case TransferFailure::ConnectTimeout:
        return "ConnectTimeout";
    case TransferFailure::ReadTimeout:
        return "ReadTimeout";
    case TransferFailure::ConnectionClosed:
        return "ConnectionClosed";
    case TransferFailure::WriteError:
        return "WriteError";
    case TransferFailure::TooLarge:
        return "TooLarge";
    case TransferFailure::InvalidAddress:
        return "InvalidAddress";
    case TransferFailure::MalformedAnswer:
        return "MalformedAnswer";
    case TransferFailure::TlsError:
        return "TlsError";
    case TransferFailure::OutOfMemory:
        return "OutOfMemory";
    case TransferFailure::Aborted:
        return "Aborted";
    case TransferFailure::TransferError:
        return "TransferError";
    case TransferFailure::Unexplained:
        return "Unexplained";
    }
    return "Unexplained";
}

TransferOutcome outcomeWithoutAnswer(TransferFailure failure, std::string detail) {
    TransferOutcome outcome;
    outcome.failure = failure;
    outcome.detail = std::move(detail);
    return outcome;
}

} // namespace zob
