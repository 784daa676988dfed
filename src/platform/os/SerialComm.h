#pragma once
// The rig's serial port as the rig link expects it: a stored port name, line
// settings as one text ("4800,N,8,2"), a receive threshold at which a receive
// event is raised, text or binary input, and failures kept as a code and a
// Japanese description. Received NUL bytes are always kept.
#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QVariant>

class SerialComm : public QObject {
    Q_OBJECT
  public:
    enum InputMode { Text, Binary };
    // Event code of the receive event.
    static constexpr int kEvReceive = 2;

    explicit SerialComm(QObject* parent = nullptr);

    // "COMn" is the PC's n-th serial port (/dev/ttyS(n-1)); a device path is taken as it is.
    static QString deviceFor(const QString& storedName);

    void setCommPort(const QString& storedName) { storedName_ = storedName; }
    // Baud rate, parity (N, E, O, M, S), data bits and stop bits separated by commas.
    // False, with the failure kept, when the text is not such a setting.
    bool setSettings(const QString& settings);
    int baudRate() const { return baud_; }
    // Bits on the wire per character: start bit, data bits, parity and stop bits.
    int bitsPerCharacter() const;
    void setRThreshold(int bytes);
    int rThreshold() const { return threshold_; }
    void setInputMode(InputMode mode) { inputMode_ = mode; }
    void setRtsEnable(bool on);
    void setDtrEnable(bool on);

    bool open();
    void close();
    bool isOpen() const { return port_.isOpen(); }

    // Empties the receive buffer; what was written still goes out.
    void clearBuffers();
    // False when the port is closed or the write fails; a failed write drops
    // its bytes, so that nothing old goes out when the device answers again.
    bool write(const QByteArray& bytes);
    int inBufferCount() const { return int(port_.bytesAvailable()); }
    // Every byte received since the port was made, read, emptied or still waiting.
    qint64 received() const { return consumed_ + port_.bytesAvailable(); }
    // Bytes written but not yet handed to the device.
    int outBufferCount() const { return int(port_.bytesToWrite()); }
    // Everything received so far: a QByteArray in binary input, a QString
    // (one character per byte) in text input.
    QVariant input();
    // What input() would return now, as bytes, left in the buffer.
    QByteArray peekInput();

    int lastErrorCode() const { return errorCode_; }
    QString lastErrorText() const { return errorText_; }

  signals:
    // Raised with kEvReceive once the receive buffer holds rThreshold() bytes.
    void onComm(int eventCode);
    // The other end hung up (the device went): the port has closed itself.
    void lineLost();
    // Bytes came in (raised from the event queue, as the receive event is).
    void arrived();
    // A write the port had taken failed afterwards: its bytes did not go out.
    void writeFailedLate();

  private:
    void failed(int code, const QString& text);
    void takeError();
    void checkReceive();

    QSerialPort port_;
    QString storedName_;
    int baud_ = 9600;
    QSerialPort::Parity parity_ = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits_ = QSerialPort::Data8;
    QSerialPort::StopBits stopBits_ = QSerialPort::OneStop;
    int threshold_ = 0;
    InputMode inputMode_ = Binary;
    bool rts_ = false;
    bool dtr_ = false;
    qint64 consumed_ = 0;
    int errorCode_ = 0;
    QString errorText_;
};
