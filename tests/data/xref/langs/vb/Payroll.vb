' A payroll, for the ctags yardstick.
Imports System
Imports System.Collections.Generic

Namespace Payroll

    Public Enum Grade
        Junior
        Senior
        Principal
    End Enum

    Public Interface IPayable
        Function MonthlyPay() As Decimal
    End Interface

    Public Structure Period
        Public Year As Integer
        Public Month As Integer
    End Structure

    Public Class Employee
        Implements IPayable

        Private ReadOnly _name As String
        Private _salary As Decimal
        Public Const MaxSalary As Decimal = 500000D

        Public Sub New(name As String, salary As Decimal)
            _name = name
            _salary = salary
        End Sub

        Public ReadOnly Property Name() As String
            Get
                Return _name
            End Get
        End Property

        Public Property Salary() As Decimal
            Get
                Return _salary
            End Get
            Set(value As Decimal)
                _salary = Math.Min(value, MaxSalary)
            End Set
        End Property

        Public Overridable Function MonthlyPay() As Decimal Implements IPayable.MonthlyPay
            Return _salary / 12D
        End Function

        Public Sub Raise(percent As Decimal)
            Salary = _salary * (1D + percent / 100D)
        End Sub
    End Class

    Public Class Manager
        Inherits Employee

        Private _bonus As Decimal

        Public Sub New(name As String, salary As Decimal, bonus As Decimal)
            MyBase.New(name, salary)
            _bonus = bonus
        End Sub

        Public Overrides Function MonthlyPay() As Decimal
            Return MyBase.MonthlyPay() + _bonus / 12D
        End Function
    End Class

    Public Module Ledger
        Private ReadOnly Staff As New List(Of Employee)

        Public Sub Hire(person As Employee)
            Staff.Add(person)
        End Sub

        Public Function TotalMonthly() As Decimal
            Dim sum As Decimal = 0D
            For Each person As Employee In Staff
                sum += person.MonthlyPay()
            Next
            Return sum
        End Function

        Sub Main()
            Hire(New Employee("Ada", 60000D))
            Hire(New Manager("Grace", 90000D, 12000D))
            Dim p As Period
            p.Year = 2026
            p.Month = 12
            Console.WriteLine(TotalMonthly())
        End Sub
    End Module

End Namespace
